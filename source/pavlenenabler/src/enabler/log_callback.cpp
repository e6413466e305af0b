#include "pavlenenabler/enabler/log_callback.hpp"

#include <mutex>
#include <string>

#include "velk/logger_callback.hpp"
#include "velk/mutex_noexcept.hpp"

namespace pavlenenabler::enabler {

namespace detail {

// What the logger calls: the EventCallback while its LogCallback lives, nothing afterwards.
// The logger may outlive the LogCallback in a statement still being written on another thread.
class EventLogSink {
public:
    explicit EventLogSink(iface::EventCallback& target) : target_(&target) {}

    void write(std::string const& line) {
        std::lock_guard<velk::MutexNoexcept> lock(mutex_);
        if (target_ != nullptr) {
            target_->eventLog(line);
        }
    }

    void detach() {
        std::lock_guard<velk::MutexNoexcept> lock(mutex_);
        target_ = nullptr;
    }

private:
    velk::MutexNoexcept mutex_;
    iface::EventCallback* target_;  // under mutex_
};

}  // namespace detail

namespace {

// Serialises the Enablers' installing and uninstalling, so that the check of whose logger is
// installed and the uninstall are one step.
velk::MutexNoexcept& installMutex() {
    // Never destroyed: an Enabler may go during the destruction of other statics.
    static velk::MutexNoexcept* const mutex = new velk::MutexNoexcept;
    return *mutex;
}

}  // namespace

LogCallback::LogCallback(iface::EventCallback& eventCallback)
    : sink_(std::make_shared<detail::EventLogSink>(eventCallback)) {
    logger_ = std::make_shared<velk::LoggerCallback>(
        velk::LogLevel::Warning, [sink = sink_](std::string const& line) { sink->write(line); },
        velk::Logger::DefaultEntryFormatter);
    std::lock_guard<velk::MutexNoexcept> lock(installMutex());
    // The logger replaced here is freed only when no statement uses it any more.
    velk::SetLogger(logger_);
}

LogCallback::~LogCallback() {
    sink_->detach();
    std::lock_guard<velk::MutexNoexcept> lock(installMutex());
    // A newer Enabler's logger stays.
    if (velk::GetLogger() == logger_) {
        velk::SetLogger(nullptr);
    }
}

}  // namespace pavlenenabler::enabler
