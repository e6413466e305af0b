#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "sclib/provider.hpp"

namespace sclib::test {

// A provider with no readers whose passes a test scripts and counts: onPass(n) runs as pass n
// and returns whether it fired.
class CountingProvider : public Provider {
public:
    using Clock = std::chrono::steady_clock;

    std::function<bool(std::size_t pass)> onPass = [](std::size_t) { return false; };

    // Waits at most timeout for count passes to have begun; false if they did not.
    bool waitForPasses(std::size_t count, Clock::duration timeout = std::chrono::seconds(5)) const {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, timeout, [&] { return starts_.size() >= count; });
    }
    std::size_t passes() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return starts_.size();
    }
    std::vector<Clock::time_point> starts() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return starts_;
    }
    std::size_t threadCount() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return threads_.size();
    }

    std::vector<std::shared_ptr<Reader>> GetReaders() const override { return {}; }
    std::shared_ptr<Reader> GetReaderByName(std::string const&) const override { return {}; }
    bool ProcessEvents() const override {
        std::size_t pass;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            starts_.push_back(Clock::now());
            threads_.insert(std::this_thread::get_id());
            pass = starts_.size();
        }
        changed_.notify_all();
        return onPass(pass);
    }
    std::shared_ptr<SystemMonitor> CreateSystemMonitor() const override {
        throw std::logic_error("CountingProvider has no monitors");
    }
    std::shared_ptr<ReaderMonitor> CreateReaderMonitor(std::shared_ptr<Reader>) const override {
        throw std::logic_error("CountingProvider has no monitors");
    }

private:
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    mutable std::vector<Clock::time_point> starts_;
    mutable std::set<std::thread::id> threads_;
};

}  // namespace sclib::test
