#include "velk/logger_file.hpp"

#include <fstream>

namespace velk {

LoggerFile::LoggerFile(LogLevel minimum, std::string const& path, Formatter formatter)
    : LoggerMinLevel(minimum, std::move(formatter)), path_(path) {}

LoggerFile::~LoggerFile() = default;

void LoggerFile::UncheckedWrite(Entry const& entry) {
    std::ofstream file(path_, std::ios::app);
    WriteFormatted(file, entry);
}

}  // namespace velk
