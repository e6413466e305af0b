#pragma once

#include "velk/logger.hpp"

namespace velk {

// A logger that drops entries below its minimum level and hands the rest to its sink.
class LoggerMinLevel : public Logger {
public:
    ~LoggerMinLevel() override;

protected:
    LoggerMinLevel(LogLevel minimum, Formatter formatter);

    void WriteNoLock(Entry const& entry) final;
    virtual void UncheckedWrite(Entry const& entry) = 0;

private:
    LogLevel minimum_;
};

}  // namespace velk
