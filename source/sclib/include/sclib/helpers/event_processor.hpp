#pragma once

#include <memory>
#include <mutex>
#include <thread>

#include "sclib/provider.hpp"

namespace sclib::helpers {

// The event thread: pumps ProcessEvents of the provider in a loop, at once again when something
// happened and after 10 ms otherwise. An exception of a pass is logged at Error level
// ("Exception during event processing: " and what(), or "Unknown except during event
// processing") and the loop goes on; nothing ever escapes the thread.
//
// Callbacks run on the event thread and may call start, stop and isStarted, and destroy the
// processor: no lock that they need is held while a thread is joined. On the event thread stop
// only asks the loop to end after the current pass, start (before the pass has ended) lets it go
// on, and the destructor leaves the thread to end on its own after the pass; the loop never
// touches the processor, only the provider, which must outlive every pass.
class EventProcessor {
public:
    explicit EventProcessor(Provider& provider);
    // Stops; joins the worker, unless called on the event thread.
    ~EventProcessor();
    EventProcessor(EventProcessor const&) = delete;
    EventProcessor& operator=(EventProcessor const&) = delete;

    // Starts the worker; does nothing while one runs. A loop that was asked to stop but is still
    // in its pass goes on instead; one that has ended is joined first (it has returned already).
    void start();
    // Ends the loop and, off the event thread, waits for the worker (within one pass plus
    // 10 ms). Safe when never started; start may run a new worker afterwards. When two threads
    // stop at once, the one that finds the loop running waits for it.
    void stop();
    // True from start until stop was asked for (on any thread) or the loop has ended.
    bool isStarted() const;

private:
    class Loop;

    Provider& provider_;
    mutable std::mutex control_;
    std::shared_ptr<Loop> loop_;  // under control_; the newest loop, empty once stopped
    std::thread worker_;          // under control_; runs loop_
    bool destroying_ = false;     // under control_; refuses start from a callback meanwhile
};

}  // namespace sclib::helpers
