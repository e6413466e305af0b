#include "velk/mutex_noexcept.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace {

using velk::BasicMutexNoexcept;

std::atomic<int> foreignUnlocks{0};

void failToLock() {
    throw std::system_error(std::make_error_code(std::errc::resource_deadlock_would_occur));
}

// A mutex that can never be locked.
struct BrokenMutex {
    void lock() { failToLock(); }
    bool try_lock() { return false; }
    void unlock() { ++foreignUnlocks; }
};

// Fails every other lock, and notes (instead of doing) unlocks by a thread that does not hold it.
class FlakyMutex {
public:
    void lock() {
        if (calls_++ % 2 == 1) {
            failToLock();
        }
        real_.lock();
        owner_ = std::this_thread::get_id();
    }
    bool try_lock() {
        if (!real_.try_lock()) {
            return false;
        }
        owner_ = std::this_thread::get_id();
        return true;
    }
    void unlock() {
        if (owner_ != std::this_thread::get_id()) {
            ++foreignUnlocks;
            return;
        }
        owner_ = std::thread::id();
        real_.unlock();
    }

private:
    std::atomic<unsigned> calls_{0};
    std::mutex real_;
    std::atomic<std::thread::id> owner_{};
};

template <class Mutex>
int countUnderLock(Mutex& mutex, int threads, int rounds) {
    int counter = 0;
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([&] {
            for (int i = 0; i < rounds; ++i) {
                std::lock_guard<Mutex> lock(mutex);
                ++counter;
            }
        });
    }
    for (auto& worker : workers) {
        worker.join();
    }
    return counter;
}

TEST(MutexNoexcept, KeepsThreadsApart) {
    velk::MutexNoexcept mutex;
    EXPECT_EQ(countUnderLock(mutex, 4, 20000), 80000);
}

TEST(MutexNoexcept, TryLockFailsWhileHeldAndSucceedsAfterwards) {
    velk::MutexNoexcept mutex;
    mutex.lock();
    bool acquiredElsewhere = true;
    std::thread([&] { acquiredElsewhere = mutex.try_lock(); }).join();
    EXPECT_FALSE(acquiredElsewhere);
    mutex.unlock();
    std::thread([&] {
        acquiredElsewhere = mutex.try_lock();
        if (acquiredElsewhere) {
            mutex.unlock();
        }
    }).join();
    EXPECT_TRUE(acquiredElsewhere);
}

TEST(MutexNoexcept, FlagAloneKeepsThreadsApartWhenTheMutexCannotBeLocked) {
    foreignUnlocks = 0;
    BasicMutexNoexcept<BrokenMutex> mutex;
    EXPECT_NO_THROW(mutex.lock());
    mutex.unlock();
    EXPECT_EQ(countUnderLock(mutex, 4, 5000), 20000);
    EXPECT_EQ(foreignUnlocks, 0);
}

TEST(MutexNoexcept, UnlockReleasesTheMutexOnlyWhenThisAcquisitionTookIt) {
    foreignUnlocks = 0;
    BasicMutexNoexcept<FlakyMutex> mutex;
    EXPECT_EQ(countUnderLock(mutex, 4, 5000), 20000);
    EXPECT_EQ(foreignUnlocks, 0);
    // Nothing is left held.
    EXPECT_TRUE(mutex.try_lock());
    mutex.unlock();
}

}  // namespace
