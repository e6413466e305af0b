#pragma once

#include <functional>
#include <string>

#include "velk/logger_min_level.hpp"

namespace velk {

// Hands each formatted entry, final newline included, to a callback as one string.
class LoggerCallback : public LoggerMinLevel {
public:
    using Callback = std::function<void(std::string const&)>;

    LoggerCallback(LogLevel minimum, Callback callback, Formatter formatter);
    ~LoggerCallback() override;

protected:
    void UncheckedWrite(Entry const& entry) override;

private:
    Callback callback_;
};

}  // namespace velk
