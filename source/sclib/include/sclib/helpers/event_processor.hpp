#pragma once

#include <atomic>
#include <future>
#include <mutex>
#include <thread>

#include "sclib/provider.hpp"

namespace sclib::helpers {

// The event thread: pumps ProcessEvents of the provider in a loop, at once again when something
// happened and after 10 ms otherwise. An exception of a pass is logged at Error level
// ("Exception during event processing: " and what(), or "Unknown except during event
// processing") and the loop goes on; nothing ever escapes the thread.
//
// start, stop and isStarted are meant for the owner's thread; stop may also be called from the
// event thread itself (from a callback), where it only asks the loop to end.
class EventProcessor {
public:
    explicit EventProcessor(Provider& provider);
    // Stops and joins.
    ~EventProcessor();
    EventProcessor(EventProcessor const&) = delete;
    EventProcessor& operator=(EventProcessor const&) = delete;

    // Starts the worker; does nothing while one is started.
    void start();
    // Ends the loop and waits for the worker (within one pass plus 10 ms). Safe when never
    // started; start may run a new worker afterwards.
    void stop();
    bool isStarted() const;

private:
    void run_();

    Provider& provider_;
    std::atomic<bool> running_{false};
    std::future<void> worker_;  // under control_
    std::atomic<std::thread::id> workerThread_{};
    mutable std::mutex control_;
};

}  // namespace sclib::helpers
