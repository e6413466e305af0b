#pragma once

#include <memory>
#include <mutex>

#include "sclib/impl/ctk/monitor.hpp"
#include "sclib/system_monitor.hpp"

namespace sclib::impl::ctk {

namespace detail {
class RunningSystemMonitor;
}

// Watches the card service's reader list. Changes are queued on the service's threads; Process
// fires the signals of those queued when it began on the calling thread.
class SystemMonitor : public sclib::SystemMonitor, public Monitor {
public:
    SystemMonitor();
    ~SystemMonitor() override;

    void Start() override;
    void Stop() override;
    // Fires the signals under the monitor's mutex: a subscriber must not start, stop or process
    // this monitor. A failure met since the last call is rethrown once.
    bool Process() override;
    bool IsRunning() const;

private:
    mutable std::mutex mutex_;
    std::shared_ptr<detail::RunningSystemMonitor> running_;
};

}  // namespace sclib::impl::ctk
