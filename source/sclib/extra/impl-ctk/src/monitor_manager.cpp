#include "sclib/impl/ctk/monitor_manager.hpp"

namespace sclib::impl::ctk {

void MonitorManager::Add(std::weak_ptr<Monitor> const& monitor) {
    std::lock_guard<std::mutex> lock(mutex_);
    monitors_.push_back(monitor);
}

bool MonitorManager::Process() {
    for (auto const& monitor : GetMonitors_()) {
        if (monitor->Process()) {
            // The monitors after this one wait for the next pass.
            return true;
        }
    }
    return false;
}

std::vector<std::shared_ptr<Monitor>> MonitorManager::GetMonitors_() {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<std::shared_ptr<Monitor>> live;
    auto kept = monitors_.begin();
    for (auto const& entry : monitors_) {
        if (auto monitor = entry.lock()) {
            live.push_back(std::move(monitor));
            *kept++ = entry;
        }
    }
    monitors_.erase(kept, monitors_.end());
    return live;
}

}  // namespace sclib::impl::ctk
