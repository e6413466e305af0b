#pragma once

#include <ctime>

// Reentrant breakdowns of a calendar time, safe to call from several threads at once.
// Each returns 0, or the error number when the conversion fails (result then untouched).
int localtime_s(std::tm* result, std::time_t const* time);
int gmtime_s(std::tm* result, std::time_t const* time);
