#include "detail/fake_reader_monitor.hpp"

#include <utility>

#include "sclib/dispatch.hpp"

namespace testsupport::readers::detail {

FakeReaderMonitor::FakeReaderMonitor(std::shared_ptr<ProviderState> state,
                                     std::shared_ptr<sclib::Reader> reader)
    : sclib::ReaderMonitor(std::move(reader)), state_(std::move(state)) {}

void FakeReaderMonitor::Start() {
    std::lock_guard<std::mutex> lock(state_->mutex);
    started_ = true;
    while (queue_.TryPop()) {
    }
    auto const reader = GetReader();
    auto const* fake = dynamic_cast<FakeReader const*>(reader.get());
    if (fake == nullptr || !fake->isPresent()) {
        queue_.Push(Event::Unavailable);
    } else if (fake->hasCard()) {
        queue_.Push(Event::Inserted);
    }
}

void FakeReaderMonitor::Stop() {
    std::lock_guard<std::mutex> lock(state_->mutex);
    started_ = false;
    while (queue_.TryPop()) {
    }
}

bool FakeReaderMonitor::process() {
    bool fired = false;
    // Fired without any lock held, so subscribers may create and start monitors.
    while (auto event = queue_.TryPop()) {
        fired = true;
        switch (*event) {
            case Event::Inserted:
                sclib::dispatchInsertSmartcardEvent(*this);
                break;
            case Event::Removed:
                sclib::dispatchRemoveSmartcardEvent(*this);
                break;
            case Event::Unavailable:
                sclib::dispatchUnavailableEvent(*this);
                break;
        }
    }
    return fired;
}

void FakeReaderMonitor::readerRemoved(std::shared_ptr<sclib::Reader> const& reader) {
    queueFor(reader.get(), Event::Unavailable);
}

void FakeReaderMonitor::cardInserted(sclib::Reader const* reader) {
    queueFor(reader, Event::Inserted);
}

void FakeReaderMonitor::cardRemoved(sclib::Reader const* reader) {
    queueFor(reader, Event::Removed);
}

void FakeReaderMonitor::queueFor(sclib::Reader const* reader, Event event) {
    if (started_ && GetReader().get() == reader) {
        queue_.Push(event);
    }
}

}  // namespace testsupport::readers::detail
