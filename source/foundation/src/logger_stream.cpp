#include "velk/logger_stream.hpp"

namespace velk {

LoggerStream::LoggerStream(LogLevel minimum, std::ostream& stream, Formatter formatter)
    : LoggerMinLevel(minimum, std::move(formatter)), stream_(stream) {}

LoggerStream::~LoggerStream() = default;

void LoggerStream::UncheckedWrite(Entry const& entry) {
    WriteFormatted(stream_, entry);
}

}  // namespace velk
