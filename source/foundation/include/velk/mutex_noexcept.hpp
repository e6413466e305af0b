#pragma once

#include <atomic>
#include <mutex>
#include <thread>

namespace velk {

// A mutex whose lock never throws, so loggers can lock it anywhere, destructors included.
// When the underlying mutex cannot be locked, the flag alone keeps holders apart.
template <class Mutex>
class BasicMutexNoexcept {
public:
    void lock() noexcept {
        bool taken = false;
        try {
            mutex_.lock();
            taken = true;
        } catch (...) {
        }
        while (busy_.exchange(true, std::memory_order_acquire)) {
            std::this_thread::yield();
        }
        mutexTaken_ = taken;
    }

    bool try_lock() noexcept {
        try {
            if (!mutex_.try_lock()) {
                return false;
            }
        } catch (...) {
            return false;
        }
        if (busy_.exchange(true, std::memory_order_acquire)) {
            mutex_.unlock();
            return false;
        }
        mutexTaken_ = true;
        return true;
    }

    void unlock() noexcept {
        // Read before the flag is released: after that the next holder owns this field.
        bool const taken = mutexTaken_;
        busy_.store(false, std::memory_order_release);
        if (taken) {
            mutex_.unlock();
        }
    }

private:
    Mutex mutex_;
    std::atomic<bool> busy_{false};
    // Whether the current holder also holds mutex_; guarded by busy_.
    bool mutexTaken_ = false;
};

using MutexNoexcept = BasicMutexNoexcept<std::mutex>;

}  // namespace velk
