#pragma once

#include <cstdint>

namespace velk {

// Ordered by severity: a logger's minimum level drops everything below it.
enum class LogLevel : std::int32_t {
    Trace = 0,
    Debug = 1,
    Notice = 2,
    Warning = 3,
    Error = 4,
    Fatal = 5,
};

}  // namespace velk
