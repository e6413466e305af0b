#pragma once

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

#include "velk/logger.hpp"
#include "velk/logger_callback.hpp"

namespace sclib::test {

// Installs, for its lifetime, a logger that keeps each entry as "Level: message\n".
class CapturedLog {
public:
    CapturedLog() {
        velk::SetLogger(std::make_shared<velk::LoggerCallback>(
            velk::LogLevel::Trace, [this](std::string const& line) { add(line); },
            [](std::ostream& os, velk::Logger::Entry const& entry) {
                os << velk::Logger::LevelToString(entry.level) << ": " << entry.message << '\n';
            }));
    }
    ~CapturedLog() { velk::SetLogger(previous_); }
    CapturedLog(CapturedLog const&) = delete;
    CapturedLog& operator=(CapturedLog const&) = delete;

    std::vector<std::string> lines() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return lines_;
    }
    // Waits at most five seconds for count entries; false if they did not come.
    bool waitForLines(std::size_t count) const {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, std::chrono::seconds(5),
                                 [&] { return lines_.size() >= count; });
    }

private:
    void add(std::string const& line) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            lines_.push_back(line);
        }
        changed_.notify_all();
    }

    std::shared_ptr<velk::Logger> previous_ = velk::GetLogger();
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::vector<std::string> lines_;
};

}  // namespace sclib::test
