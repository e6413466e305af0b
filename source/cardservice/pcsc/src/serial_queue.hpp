#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace cardservice::impl::pcsc {

// One thread that runs posted jobs one after another, in order. Every job posted runs exactly
// once; whatever a job throws is logged and goes no further, since an exception leaving a
// thread would end the process.
class SerialQueue {
public:
    // How long the destructor waits for the jobs still queued; a thread stuck in the daemon
    // after that is left to finish on its own.
    static constexpr std::chrono::seconds ShutdownWait{5};

    SerialQueue();
    ~SerialQueue();
    SerialQueue(SerialQueue const&) = delete;
    SerialQueue& operator=(SerialQueue const&) = delete;

    void post(std::function<void()> job);

private:
    // Shared with the thread, which may outlive this object.
    struct Jobs {
        std::mutex mutex;
        std::condition_variable changed;
        std::deque<std::function<void()>> queued;
        bool closing = false;
        bool finished = false;
    };

    static void run_(std::shared_ptr<Jobs> jobs);

    std::shared_ptr<Jobs> jobs_;
    std::thread thread_;
};

}  // namespace cardservice::impl::pcsc
