#include "sclib/impl/ctk/system_monitor.hpp"

#include "sclib/impl/ctk/detail/running_system_monitor.hpp"

namespace sclib::impl::ctk {

SystemMonitor::SystemMonitor() = default;

SystemMonitor::~SystemMonitor() = default;

void SystemMonitor::Start() {
    std::lock_guard<std::mutex> lock(mutex_);
    running_ = detail::RunningSystemMonitor::Create();
}

void SystemMonitor::Stop() {
    std::lock_guard<std::mutex> lock(mutex_);
    running_.reset();
}

bool SystemMonitor::Process() {
    std::lock_guard<std::mutex> lock(mutex_);
    return running_ && running_->Process(*this);
}

bool SystemMonitor::IsRunning() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return running_ != nullptr;
}

}  // namespace sclib::impl::ctk
