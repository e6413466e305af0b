#include "velk/logger_callback.hpp"

#include <sstream>

namespace velk {

LoggerCallback::LoggerCallback(LogLevel minimum, Callback callback, Formatter formatter)
    : LoggerMinLevel(minimum, std::move(formatter)), callback_(std::move(callback)) {}

LoggerCallback::~LoggerCallback() = default;

void LoggerCallback::UncheckedWrite(Entry const& entry) {
    std::ostringstream text;
    WriteFormatted(text, entry);
    callback_(text.str());
}

}  // namespace velk
