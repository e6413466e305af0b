#include "velk/logger_min_level.hpp"

namespace velk {

LoggerMinLevel::LoggerMinLevel(LogLevel minimum, Formatter formatter)
    : Logger(std::move(formatter)), minimum_(minimum) {}

LoggerMinLevel::~LoggerMinLevel() = default;

void LoggerMinLevel::WriteNoLock(Entry const& entry) {
    if (entry.level < minimum_) {
        return;
    }
    UncheckedWrite(entry);
}

}  // namespace velk
