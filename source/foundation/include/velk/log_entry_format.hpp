#pragma once

#include <ctime>
#include <ostream>
#include <string>

#include "velk/logger.hpp"

// The two entry layouts with the clock and the thread text supplied by the caller;
// Logger::DefaultEntryFormatter and Logger::BriefEntryFormatter pass the current ones.

namespace velk::detail {

void WriteDefaultEntry(std::ostream& os, Logger::Entry const& entry, std::tm const& time,
                       std::string const& thread);

void WriteBriefEntry(std::ostream& os, Logger::Entry const& entry, std::tm const& time);

}  // namespace velk::detail
