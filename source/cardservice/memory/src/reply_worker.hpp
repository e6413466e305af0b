#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace cardservice::memory::detail {

// The thread on which the service delivers its asynchronous replies, one after another in the
// order they were posted; tests rely on that order. A task that waits for a later task waits
// for ever. Every posted task runs exactly once: the destructor lets the thread
// finish the queue before it ends.
class ReplyWorker {
public:
    ReplyWorker();
    ~ReplyWorker();
    ReplyWorker(ReplyWorker const&) = delete;
    ReplyWorker& operator=(ReplyWorker const&) = delete;

    void post(std::function<void()> task);

private:
    // Shared with the thread, which may outlive this object when the last owner of the worker
    // lets go of it inside a task.
    struct Queue {
        std::mutex mutex;
        std::condition_variable posted;
        std::deque<std::function<void()>> tasks;
        bool closing = false;
    };

    static void run_(std::shared_ptr<Queue> queue);

    std::shared_ptr<Queue> queue_;
    std::thread thread_;
};

}  // namespace cardservice::memory::detail
