#include "sclib/impl/ctk/detail/running_system_monitor.hpp"

#include <algorithm>
#include <cstddef>

#include "ctkwrapper/slot_manager.hpp"
#include "sclib/dispatch.hpp"
#include "sclib/impl/ctk/system_monitor.hpp"

namespace sclib::impl::ctk::detail {

std::shared_ptr<RunningSystemMonitor> RunningSystemMonitor::Create() {
    auto running = std::make_shared<RunningSystemMonitor>(Key{});
    // The service may call back while this object is being destroyed: hold it only weakly.
    std::weak_ptr<RunningSystemMonitor> const weak = running;
    running->observer_ = ctkwrapper::SlotManager::getInstance().getSlotObservable().observe(
        [weak](ctkwrapper::KvValue const& value) {
            if (auto const self = weak.lock()) {
                self->generator_.Update(value);
            }
        },
        ctkwrapper::KvObserveOptions::Initial);
    // The list may have changed before the observation began.
    running->generator_.Update();
    return running;
}

bool RunningSystemMonitor::Process(SystemMonitor const& monitor) {
    // Bounded like a reader monitor's pass: what was queued when it began.
    std::size_t budget = std::max<std::size_t>(generator_.QueuedEvents(), 1);
    bool processed = false;
    for (; budget > 0; --budget) {
        auto const event = generator_.GetEvent();
        if (!event) {
            break;
        }
        processed = true;
        if (event->type == SystemEvent::ReaderAdded) {
            dispatchReaderAddedEvent(monitor, event->reader);
        } else {
            dispatchReaderRemovedEvent(monitor, event->reader);
        }
    }
    return processed;
}

}  // namespace sclib::impl::ctk::detail
