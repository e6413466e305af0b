#pragma once

#include <memory>
#include <mutex>
#include <vector>

#include "sclib/impl/ctk/monitor.hpp"

namespace sclib::impl::ctk {

// The monitors the event pump walks, in registration order. It never keeps a monitor alive.
class MonitorManager {
public:
    void Add(std::weak_ptr<Monitor> const& monitor);

    // Processes the live monitors in registration order and ends the pass at the first one that
    // had events: then true. The list's mutex is not held while monitors run, so a monitor's
    // subscribers may create and register further monitors. Exceptions of monitors propagate.
    bool Process();

private:
    // The live monitors; expired entries are dropped.
    std::vector<std::shared_ptr<Monitor>> GetMonitors_();

    std::mutex mutex_;
    std::vector<std::weak_ptr<Monitor>> monitors_;
};

}  // namespace sclib::impl::ctk
