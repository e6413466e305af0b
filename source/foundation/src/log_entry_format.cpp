#include "velk/log_entry_format.hpp"

#include <iomanip>
#include <sstream>

namespace velk::detail {

namespace {

// Built in a stream of its own: a caller's stream left in hex or left-adjusted (as the default
// format leaves it) would otherwise print a wrong time.
std::string clockText(std::tm const& time) {
    std::ostringstream os;
    os << '[' << std::setfill('0') << std::setw(2) << time.tm_hour << ':' << std::setw(2)
       << time.tm_min << ':' << std::setw(2) << time.tm_sec << "] [";
    return os.str();
}

// Widths are minimums: a longer text is written whole.
void writeColumn(std::ostream& os, std::string const& text, int width) {
    os << std::left << std::setfill(' ') << std::setw(width) << text;
}

}  // namespace

void WriteDefaultEntry(std::ostream& os, Logger::Entry const& entry, std::tm const& time,
                       std::string const& thread) {
    std::ostringstream head;
    head << clockText(time) << Logger::LevelToString(entry.level) << "] [t:" << thread << "] ";
    std::ostringstream place;
    place << '[' << entry.file << ':' << entry.line << ']';

    writeColumn(os, head.str(), 30);
    writeColumn(os, place.str(), 25);
    os << ": " << entry.message << std::endl;
}

void WriteBriefEntry(std::ostream& os, Logger::Entry const& entry, std::tm const& time) {
    os << clockText(time) << Logger::LevelToString(entry.level) << "]: " << entry.message
       << std::endl;
}

}  // namespace velk::detail
