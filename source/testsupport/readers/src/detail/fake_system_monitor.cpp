#include "detail/fake_system_monitor.hpp"

#include <utility>

#include "sclib/dispatch.hpp"

namespace testsupport::readers::detail {

FakeSystemMonitor::FakeSystemMonitor(std::shared_ptr<ProviderState> state)
    : state_(std::move(state)) {}

void FakeSystemMonitor::Start() {
    std::lock_guard<std::mutex> lock(state_->mutex);
    started_ = true;
    while (queue_.TryPop()) {
    }
    for (auto const& reader : state_->present) {
        queue_.Push({reader, true});
    }
}

void FakeSystemMonitor::Stop() {
    std::lock_guard<std::mutex> lock(state_->mutex);
    started_ = false;
    while (queue_.TryPop()) {
    }
}

bool FakeSystemMonitor::process() {
    bool fired = false;
    // Fired without any lock held, so subscribers may create and start monitors.
    while (auto event = queue_.TryPop()) {
        fired = true;
        if (event->added) {
            sclib::dispatchReaderAddedEvent(*this, event->reader);
        } else {
            sclib::dispatchReaderRemovedEvent(*this, event->reader);
        }
    }
    return fired;
}

void FakeSystemMonitor::readerAdded(std::shared_ptr<sclib::Reader> const& reader) {
    if (started_) {
        queue_.Push({reader, true});
    }
}

void FakeSystemMonitor::readerRemoved(std::shared_ptr<sclib::Reader> const& reader) {
    if (started_) {
        queue_.Push({reader, false});
    }
}

}  // namespace testsupport::readers::detail
