#pragma once

#include <cstddef>
#include <deque>
#include <mutex>
#include <utility>

#include <boost/optional.hpp>

#include "velk/mutex_noexcept.hpp"

namespace velk {

// First-in first-out hand-over between threads: platform callbacks push, the event pump polls.
template <typename T>
class ThreadSafeQueue {
public:
    ThreadSafeQueue() = default;
    ThreadSafeQueue(ThreadSafeQueue const&) = delete;
    ThreadSafeQueue& operator=(ThreadSafeQueue const&) = delete;

    void Push(T value) {
        std::lock_guard<MutexNoexcept> lock(mutex_);
        queue_.push_back(std::move(value));
    }

    // Never blocks: the oldest element, or none when the queue is empty.
    boost::optional<T> TryPop() {
        std::lock_guard<MutexNoexcept> lock(mutex_);
        if (queue_.empty()) {
            return boost::none;
        }
        boost::optional<T> front(std::move(queue_.front()));
        queue_.pop_front();
        return front;
    }

    // The number of elements now; others may push or pop right after.
    std::size_t Size() const {
        std::lock_guard<MutexNoexcept> lock(mutex_);
        return queue_.size();
    }

private:
    std::deque<T> queue_;
    mutable MutexNoexcept mutex_;
};

}  // namespace velk
