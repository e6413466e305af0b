#include "sclib/helpers/event_processor.hpp"

#include <chrono>
#include <exception>
#include <ostream>
#include <utility>

#include "velk/log_level.hpp"
#include "velk/log_writing_stream.hpp"
#include "velk/logger.hpp"
#include "velk/path.hpp"

namespace sclib::helpers {

// What the event thread shares with its processor. The thread holds it, so the processor may go
// away while a pass runs.
class EventProcessor::Loop {
public:
    void requestStop() {
        std::lock_guard<std::mutex> lock(mutex_);
        running_ = false;
    }
    // False once the loop has ended: the caller must start a new one.
    bool resume() {
        std::lock_guard<std::mutex> lock(mutex_);
        if (ended_) {
            return false;
        }
        running_ = true;
        return true;
    }
    bool isRunning() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return running_ && !ended_;
    }
    // Asked by the loop before each pass; once false, the loop has ended for good.
    bool goOn() {
        std::lock_guard<std::mutex> lock(mutex_);
        ended_ = !running_;
        return running_;
    }

private:
    mutable std::mutex mutex_;
    bool running_ = true;
    bool ended_ = false;
};

namespace {

// The loop whose pass runs on this thread, if any (identity only).
thread_local void const* tCurrentLoop = nullptr;

void runPass(Provider& provider) {
    try {
        try {
            if (!provider.ProcessEvents()) {
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

}  // namespace

EventProcessor::EventProcessor(Provider& provider) : provider_(provider) {}

EventProcessor::~EventProcessor() {
    std::thread worker;
    {
        std::lock_guard<std::mutex> lock(control_);
        destroying_ = true;
        if (loop_) {
            loop_->requestStop();
        }
        loop_.reset();
        worker = std::move(worker_);
    }
    if (!worker.joinable()) {
        return;
    }
    if (worker.get_id() == std::this_thread::get_id()) {
        // Destroyed by a callback: the thread cannot wait for itself. It ends after this pass
        // and touches nothing of this object meanwhile.
        worker.detach();
    } else {
        worker.join();
    }
}

void EventProcessor::start() {
    std::thread ended;
    {
        std::lock_guard<std::mutex> lock(control_);
        if (destroying_ || (loop_ && loop_->resume())) {
            return;
        }
        auto loop = std::make_shared<Loop>();
        std::thread worker([&provider = provider_, loop] {
            tCurrentLoop = loop.get();
            while (loop->goOn()) {
                runPass(provider);
            }
            tCurrentLoop = nullptr;
        });
        // The earlier loop has ended (resume refused it): joining it returns at once. It is
        // never this thread, which would still be inside its pass.
        ended = std::move(worker_);
        loop_ = std::move(loop);
        worker_ = std::move(worker);
    }
    if (ended.joinable()) {
        ended.join();
    }
}

void EventProcessor::stop() {
    std::thread worker;
    {
        std::lock_guard<std::mutex> lock(control_);
        if (!loop_) {
            return;
        }
        loop_->requestStop();
        if (tCurrentLoop == loop_.get()) {
            // On its own thread: the loop ends after this pass; whoever stops, starts or
            // destroys next from another thread joins it.
            return;
        }
        loop_.reset();
        worker = std::move(worker_);
    }
    if (worker.joinable()) {
        worker.join();
    }
}

bool EventProcessor::isStarted() const {
    std::lock_guard<std::mutex> lock(control_);
    return loop_ && loop_->isRunning();
}

}  // namespace sclib::helpers
