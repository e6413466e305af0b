#pragma once

#include <ostream>

#include "velk/logger_min_level.hpp"

namespace velk {

// Writes entries to the caller's stream, which must outlive the logger.
class LoggerStream : public LoggerMinLevel {
public:
    LoggerStream(LogLevel minimum, std::ostream& stream, Formatter formatter);
    ~LoggerStream() override;

protected:
    void UncheckedWrite(Entry const& entry) override;

private:
    std::ostream& stream_;
};

}  // namespace velk
