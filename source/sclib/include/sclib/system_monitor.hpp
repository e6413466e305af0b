#pragma once

#include "sclib/reader_monitor.hpp"

namespace sclib {

// Watches the list of readers. Signals fire on the thread that pumps the monitor.
class SystemMonitor {
public:
    SystemMonitor() = default;
    virtual ~SystemMonitor() = default;
    SystemMonitor(SystemMonitor const&) = delete;
    SystemMonitor& operator=(SystemMonitor const&) = delete;

    // Every reader present now is reported once as added, on the next pump.
    virtual void Start() = 0;
    virtual void Stop() = 0;

    ReaderSignal& readerAdded() const { return readerAdded_; }
    ReaderSignal& readerRemoved() const { return readerRemoved_; }

private:
    mutable ReaderSignal readerAdded_;
    mutable ReaderSignal readerRemoved_;
};

}  // namespace sclib
