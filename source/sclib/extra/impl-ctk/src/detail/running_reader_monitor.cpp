#include "sclib/impl/ctk/detail/running_reader_monitor.hpp"

#include <algorithm>
#include <cstddef>

#include "sclib/dispatch.hpp"
#include "sclib/impl/ctk/reader_monitor.hpp"

namespace sclib::impl::ctk::detail {

std::shared_ptr<RunningReaderMonitor> RunningReaderMonitor::Create(ctkwrapper::Slot slot) {
    auto running = std::make_shared<RunningReaderMonitor>(Key{}, std::move(slot));
    if (running->slot_.isValid()) {
        // The service may call back while this object is being destroyed: hold it only weakly.
        std::weak_ptr<RunningReaderMonitor> const weak = running;
        running->observer_ = running->slot_.getStateObservable().observe(
            [weak](ctkwrapper::KvValue const& value) {
                if (auto const self = weak.lock()) {
                    self->generator_.Update(value);
                }
            },
            ctkwrapper::KvObserveOptions::Initial);
    }
    return running;
}

RunningReaderMonitor::RunningReaderMonitor(Key, ctkwrapper::Slot slot) : slot_(std::move(slot)) {}

bool RunningReaderMonitor::Process(ReaderMonitor const& monitor) {
    // Only what was queued when the pass began (at least one look, which also hands out a kept
    // failure): a reader that keeps changing must not hold the pumping thread, and whoever waits
    // for it to stop, for ever. The rest waits for the next pass.
    std::size_t budget = std::max<std::size_t>(generator_.QueuedEvents(), 1);
    bool processed = false;
    for (; budget > 0; --budget) {
        auto const event = generator_.GetEvent();
        if (!event) {
            break;
        }
        processed = true;
        switch (*event) {
            case ReaderEvent::Unavailable:
                dispatchUnavailableEvent(monitor);
                break;
            case ReaderEvent::RemoveSmartcard:
                dispatchRemoveSmartcardEvent(monitor);
                break;
            case ReaderEvent::InsertSmartcard:
                dispatchInsertSmartcardEvent(monitor);
                break;
            case ReaderEvent::MuteSmartcard:
                dispatchMuteSmartcardEvent(monitor);
                break;
            case ReaderEvent::ResetSmartcard:
                dispatchResetSmartcardEvent(monitor);
                break;
        }
    }
    return processed;
}

}  // namespace sclib::impl::ctk::detail
