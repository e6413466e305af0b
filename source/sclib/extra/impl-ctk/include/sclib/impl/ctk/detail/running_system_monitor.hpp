#pragma once

#include <memory>

#include "ctkwrapper/kv_observe.hpp"
#include "sclib/impl/ctk/detail/system_event_generator.hpp"

namespace sclib::impl::ctk {
class SystemMonitor;
}

namespace sclib::impl::ctk::detail {

// A started system monitor: the event generator and the observation of the reader list, which
// ends when this object is destroyed.
class RunningSystemMonitor {
    struct Key {};

public:
    // Observes the reader list; the readers present now are queued as added before this
    // returns. Throws ctkwrapper::UnexpectedCtkError when the service cannot be used.
    static std::shared_ptr<RunningSystemMonitor> Create();

    explicit RunningSystemMonitor(Key) {}

    // Fires monitor's signals for every queued event; true if there was one.
    bool Process(SystemMonitor const& monitor);

private:
    SystemEventGenerator generator_;
    // Last, so that the observation ends before the generator it feeds is destroyed.
    ctkwrapper::KvObserver observer_;
};

}  // namespace sclib::impl::ctk::detail
