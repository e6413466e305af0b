#include "reply_worker.hpp"

#include <utility>

#include "callback_failure.hpp"

namespace cardservice::memory::detail {

ReplyWorker::ReplyWorker()
    : queue_(std::make_shared<Queue>()), thread_(&ReplyWorker::run_, queue_) {}

ReplyWorker::~ReplyWorker() {
    {
        std::lock_guard<std::mutex> lock(queue_->mutex);
        queue_->closing = true;
    }
    queue_->posted.notify_one();
    // A task that dropped the last owner runs on the thread itself, which cannot join itself;
    // it then finishes the queue on its own.
    if (thread_.get_id() == std::this_thread::get_id()) {
        thread_.detach();
    } else {
        thread_.join();
    }
}

void ReplyWorker::post(std::function<void()> task) {
    {
        std::lock_guard<std::mutex> lock(queue_->mutex);
        queue_->tasks.push_back(std::move(task));
    }
    queue_->posted.notify_one();
}

void ReplyWorker::run_(std::shared_ptr<Queue> queue) {
    std::unique_lock<std::mutex> lock(queue->mutex);
    for (;;) {
        queue->posted.wait(lock, [&] { return queue->closing || !queue->tasks.empty(); });
        if (queue->tasks.empty()) {
            return;
        }
        std::function<void()> task = std::move(queue->tasks.front());
        queue->tasks.pop_front();
        lock.unlock();
        try {
            task();
        } catch (...) {
            logCallbackFailure("Reply of the card service");
        }
        // The task's captures (replies, byte copies) are released before the lock is retaken.
        task = nullptr;
        lock.lock();
    }
}

}  // namespace cardservice::memory::detail
