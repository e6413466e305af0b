#pragma once

#include <string>

#include "velk/logger_min_level.hpp"

namespace velk {

// Appends each entry to the file at path, opening and closing it per entry so no handle stays
// open. An entry that cannot be written is lost without a report.
class LoggerFile : public LoggerMinLevel {
public:
    LoggerFile(LogLevel minimum, std::string const& path, Formatter formatter);
    ~LoggerFile() override;

protected:
    void UncheckedWrite(Entry const& entry) override;

private:
    std::string path_;
};

}  // namespace velk
