#include "velk/logger.hpp"

#include <array>
#include <ctime>
#include <mutex>
#include <sstream>

#include "velk/local_time.hpp"
#include "velk/log_entry_format.hpp"

namespace velk {

namespace {

std::tm localNow() {
    std::time_t const now = std::time(nullptr);
    std::tm broken{};
    localtime_s(&broken, &now);
    return broken;
}

}  // namespace

Logger::Logger(Formatter formatter) : formatter_(std::move(formatter)) {}

Logger::~Logger() = default;

void Logger::Write(Entry const& entry) {
    std::lock_guard<MutexNoexcept> lock(mutex_);
    WriteNoLock(entry);
}

void Logger::SetFormatter(Formatter formatter) {
    formatter_ = std::move(formatter);
}

void Logger::WriteFormatted(std::ostream& os, Entry const& entry) const {
    formatter_(os, entry);
}

std::string Logger::LevelToString(LogLevel level) {
    static constexpr std::array<char const*, 6> Names = {"Trace",   "Debug", "Notice",
                                                         "Warning", "Error", "Fatal"};
    // Unsigned, so that negative levels fall outside the table too.
    auto const index = static_cast<std::uint32_t>(level);
    return index < Names.size() ? Names[index] : "Unknown";
}

void Logger::DefaultEntryFormatter(std::ostream& os, Entry const& entry) {
    std::ostringstream thread;
    thread << entry.thread;
    detail::WriteDefaultEntry(os, entry, localNow(), thread.str());
}

void Logger::BriefEntryFormatter(std::ostream& os, Entry const& entry) {
    detail::WriteBriefEntry(os, entry, localNow());
}

}  // namespace velk
