#pragma once

#include <memory>
#include <mutex>
#include <vector>

#include "velk/logger.hpp"

namespace velk::test {

// Keeps every entry it is given, unformatted.
class RecordingLogger : public Logger {
public:
    RecordingLogger() : Logger(&Logger::BriefEntryFormatter) {}

    std::vector<Entry> entries() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return entries_;
    }

protected:
    void WriteNoLock(Entry const& entry) override {
        std::lock_guard<std::mutex> lock(mutex_);
        entries_.push_back(entry);
    }

private:
    mutable std::mutex mutex_;
    std::vector<Entry> entries_;
};

// Writes only the message, so sink tests need not match the clock.
inline void messageOnly(std::ostream& os, Logger::Entry const& entry) {
    os << entry.message << '\n';
}

}  // namespace velk::test
