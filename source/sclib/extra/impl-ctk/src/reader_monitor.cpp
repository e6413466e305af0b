#include "sclib/impl/ctk/reader_monitor.hpp"

#include "ctkwrapper/slot_manager.hpp"
#include "sclib/impl/ctk/detail/running_reader_monitor.hpp"

namespace sclib::impl::ctk {

ReaderMonitor::ReaderMonitor(std::shared_ptr<sclib::Reader> reader)
    : sclib::ReaderMonitor(std::move(reader)) {}

ReaderMonitor::~ReaderMonitor() = default;

void ReaderMonitor::Start() {
    std::lock_guard<std::mutex> lock(mutex_);
    auto slot = ctkwrapper::SlotManager::getInstance().slotNamed(GetReader()->GetName());
    running_ = detail::RunningReaderMonitor::Create(std::move(slot));
}

void ReaderMonitor::Stop() {
    std::lock_guard<std::mutex> lock(mutex_);
    running_.reset();
}

bool ReaderMonitor::Process() {
    std::lock_guard<std::mutex> lock(mutex_);
    return running_ && running_->Process(*this);
}

bool ReaderMonitor::IsWatching() {
    std::lock_guard<std::mutex> lock(mutex_);
    return running_ && !running_->HasSeenMissing();
}

void dispatchResetSmartcardEvent(ReaderMonitor const& monitor) {
    monitor.resetSmartcard()(monitor.GetReader());
}

}  // namespace sclib::impl::ctk
