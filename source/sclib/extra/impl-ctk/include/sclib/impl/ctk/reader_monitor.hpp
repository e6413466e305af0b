#pragma once

#include <memory>
#include <mutex>

#include "sclib/impl/ctk/monitor.hpp"
#include "sclib/reader_monitor.hpp"

namespace sclib::impl::ctk {

namespace detail {
class RunningReaderMonitor;
}

// Watches one slot's state. The service's notifications are queued on its threads; Process
// fires the signals of those queued when it began on the calling thread.
class ReaderMonitor : public sclib::ReaderMonitor, public Monitor {
public:
    explicit ReaderMonitor(std::shared_ptr<sclib::Reader> reader);
    ~ReaderMonitor() override;

    // Looks the slot up (blocks until the service answers) and observes it afresh; events still
    // queued from an earlier start are dropped.
    void Start() override;
    void Stop() override;
    // Fires the signals under the monitor's mutex: a subscriber must not start, stop or process
    // this monitor. A failure the service reported since the last call is rethrown once.
    bool Process() override;

    // A valid card was reset.
    ReaderSignal& resetSmartcard() const { return resetSmartcard_; }

private:
    mutable ReaderSignal resetSmartcard_;
    std::mutex mutex_;
    std::shared_ptr<detail::RunningReaderMonitor> running_;
};

void dispatchResetSmartcardEvent(ReaderMonitor const& monitor);

}  // namespace sclib::impl::ctk
