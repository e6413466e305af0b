#pragma once

#include <memory>

#include "pavlenenabler/iface/event_callback.hpp"
#include "velk/logger.hpp"

namespace pavlenenabler::enabler {

namespace detail {
class EventLogSink;
}

// While it lives, the process logger hands warnings and errors to the user's EventCallback.
class LogCallback {
public:
    explicit LogCallback(iface::EventCallback& eventCallback);
    // Uninstalls the logger if it is still this one's; from then on nothing reaches the
    // EventCallback, also not from a log statement already under way on another thread.
    ~LogCallback();
    LogCallback(LogCallback const&) = delete;
    LogCallback& operator=(LogCallback const&) = delete;

private:
    std::shared_ptr<detail::EventLogSink> sink_;
    std::shared_ptr<velk::Logger> logger_;
};

}  // namespace pavlenenabler::enabler
