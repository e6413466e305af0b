#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <thread>

#include "velk/log_level.hpp"
#include "velk/mutex_noexcept.hpp"

namespace velk {

// Filters, formats and hands log entries to a sink. Each entry is written under the logger's
// own mutex, so entries of one logger never interleave.
class Logger {
public:
    // One line of a log statement. It has no timestamp: formatters read the clock.
    struct Entry {
        LogLevel level;
        std::thread::id thread;
        std::string file;
        std::uint32_t line;
        std::string message;
    };

    using Formatter = std::function<void(std::ostream&, Entry const&)>;

    virtual ~Logger();
    Logger(Logger const&) = delete;
    Logger& operator=(Logger const&) = delete;

    // Rethrows what the sink throws, with the mutex released.
    void Write(Entry const& entry);

    // Takes no lock: for setting a logger up before it is shared.
    void SetFormatter(Formatter formatter);

    // Throws std::bad_function_call when the formatter is empty.
    void WriteFormatted(std::ostream& os, Entry const& entry) const;

    // "Unknown" for values outside the scale.
    static std::string LevelToString(LogLevel level);

    // "[HH:MM:SS] [level] [t:thread] " in at least 30 columns, "[file:line]" in at least 25,
    // then ": " and the message; local time.
    static void DefaultEntryFormatter(std::ostream& os, Entry const& entry);
    // "[HH:MM:SS] [level]: " and the message; local time.
    static void BriefEntryFormatter(std::ostream& os, Entry const& entry);

protected:
    explicit Logger(Formatter formatter);

    virtual void WriteNoLock(Entry const& entry) = 0;

private:
    MutexNoexcept mutex_;
    Formatter formatter_;
};

// The process-wide logger, or null when none is installed. Log statements hold this snapshot
// while they write, so replacing the logger meanwhile cannot pull it from under them.
std::shared_ptr<Logger> GetLogger();

// Installs logger as the process-wide logger (null uninstalls). The one it replaces is
// destroyed once the last statement still writing through it has finished.
void SetLogger(std::shared_ptr<Logger> logger);

}  // namespace velk
