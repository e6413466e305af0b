#pragma once

#include <memory>

#include "ctkwrapper/kv_observe.hpp"
#include "ctkwrapper/slot.hpp"
#include "sclib/impl/ctk/detail/reader_event_generator.hpp"

namespace sclib::impl::ctk {
class ReaderMonitor;
}

namespace sclib::impl::ctk::detail {

// A started reader monitor: the slot, its event generator and the observation of its state,
// which ends when this object is destroyed.
class RunningReaderMonitor {
    struct Key {};

public:
    // Observes the slot's state; the current state is applied before this returns.
    static std::shared_ptr<RunningReaderMonitor> Create(ctkwrapper::Slot slot);

    RunningReaderMonitor(Key, ctkwrapper::Slot slot);

    // Fires monitor's signals for every queued event; true if there was one.
    bool Process(ReaderMonitor const& monitor);

    // Whether the slot has been reported Missing: this object reports nothing more.
    bool HasSeenMissing() { return generator_.HasSeenMissing(); }

private:
    ctkwrapper::Slot slot_;
    ReaderEventGenerator generator_{slot_};
    // Last, so that the observation ends before the generator it feeds is destroyed.
    ctkwrapper::KvObserver observer_;
};

}  // namespace sclib::impl::ctk::detail
