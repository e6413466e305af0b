#include "sclib/helpers/event_processor.hpp"

#include <chrono>
#include <exception>
#include <ostream>

#include "velk/log_level.hpp"
#include "velk/log_writing_stream.hpp"
#include "velk/logger.hpp"
#include "velk/path.hpp"

namespace sclib::helpers {

EventProcessor::EventProcessor(Provider& provider) : provider_(provider) {}

EventProcessor::~EventProcessor() {
    stop();
}

void EventProcessor::start() {
    std::lock_guard<std::mutex> lock(control_);
    if (worker_.valid()) {
        return;
    }
    running_.store(true);
    worker_ = std::async(std::launch::async, [this] { run_(); });
}

void EventProcessor::stop() {
    running_.store(false);
    if (std::this_thread::get_id() == workerThread_.load()) {
        // Called by a callback on the event thread: the loop ends after this pass; the owner's
        // stop (or the destructor) joins.
        return;
    }
    std::lock_guard<std::mutex> lock(control_);
    if (worker_.valid()) {
        try {
            worker_.get();
        } catch (...) {
            // run_ lets nothing escape; this only keeps the destructor from terminating.
        }
    }
}

bool EventProcessor::isStarted() const {
    std::lock_guard<std::mutex> lock(control_);
    return worker_.valid();
}

void EventProcessor::run_() {
    workerThread_.store(std::this_thread::get_id());
    while (running_.load()) {
        try {
            try {
                if (!provider_.ProcessEvents()) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(10));
                }
            } catch (std::exception const& e) {
                velk::LogWritingStream(velk::GetLogger(), velk::LogLevel::Error,
                                       velk::GetFileName(__FILE__), __LINE__)
                    << "Exception during event processing: " << e.what() << std::endl;
            } catch (...) {
                velk::LogWritingStream(velk::GetLogger(), velk::LogLevel::Error,
                                       velk::GetFileName(__FILE__), __LINE__)
                    << "Unknown except during event processing" << std::endl;
            }
        } catch (...) {
            // Logging itself failed (out of memory); the loop goes on regardless.
        }
    }
    workerThread_.store(std::thread::id());
}

}  // namespace sclib::helpers
