#include "velk/logger.hpp"

#include <gtest/gtest.h>

#include <ctime>
#include <functional>
#include <iomanip>
#include <regex>
#include <sstream>
#include <string>
#include <thread>

#include "velk/log_entry_format.hpp"

namespace {

using velk::Logger;
using velk::LogLevel;

std::tm clockAt(int hour, int minute, int second) {
    std::tm time{};
    time.tm_hour = hour;
    time.tm_min = minute;
    time.tm_sec = second;
    return time;
}

TEST(Logger, LevelNamesAndUnknownOutsideTheScale) {
    EXPECT_EQ(Logger::LevelToString(LogLevel::Trace), "Trace");
    EXPECT_EQ(Logger::LevelToString(LogLevel::Debug), "Debug");
    EXPECT_EQ(Logger::LevelToString(LogLevel::Notice), "Notice");
    EXPECT_EQ(Logger::LevelToString(LogLevel::Warning), "Warning");
    EXPECT_EQ(Logger::LevelToString(LogLevel::Error), "Error");
    EXPECT_EQ(Logger::LevelToString(LogLevel::Fatal), "Fatal");
    EXPECT_EQ(Logger::LevelToString(static_cast<LogLevel>(6)), "Unknown");
    EXPECT_EQ(Logger::LevelToString(static_cast<LogLevel>(-1)), "Unknown");
}

TEST(LogEntryFormat, DefaultPadsHeadTo30AndPlaceTo25Columns) {
    std::ostringstream os;
    velk::detail::WriteDefaultEntry(os, {LogLevel::Error, {}, "a", 7, "card gone"},
                                    clockAt(9, 5, 7), "12");
    // "[09:05:07] [Error] [t:12] " is 26 characters, "[a:7]" 5.
    EXPECT_EQ(os.str(), "[09:05:07] [Error] [t:12]     [a:7]                    : card gone\n");
    EXPECT_EQ(os.fill(), ' ');
    EXPECT_TRUE(os.flags() & std::ios::left);
}

TEST(LogEntryFormat, DefaultWritesLongerFieldsWhole) {
    std::ostringstream os;
    velk::detail::WriteDefaultEntry(
        os, {LogLevel::Warning, {}, "a_rather_long_file_name.cpp", 12345, ""}, clockAt(23, 59, 0),
        "140737353938752");
    EXPECT_EQ(os.str(),
              "[23:59:00] [Warning] [t:140737353938752] [a_rather_long_file_name.cpp:12345]: \n");
}

TEST(LogEntryFormat, BriefIsClockLevelAndMessage) {
    std::ostringstream os;
    velk::detail::WriteBriefEntry(os, {LogLevel::Notice, {}, "f.cpp", 1, "hello"},
                                  clockAt(0, 0, 3));
    EXPECT_EQ(os.str(), "[00:00:03] [Notice]: hello\n");
}

// A shared stream may come left-adjusted from the default format, or in hex from its owner.
TEST(LogEntryFormat, BriefClockIsRightOnAStreamInAnotherFormat) {
    std::ostringstream os;
    os << std::hex << std::left << std::setfill('*');
    std::ios_base::fmtflags const flags = os.flags();
    velk::detail::WriteBriefEntry(os, {LogLevel::Error, {}, "f.cpp", 1, "x"}, clockAt(9, 5, 17));
    EXPECT_EQ(os.str(), "[09:05:17] [Error]: x\n");
    EXPECT_EQ(os.flags(), flags);
    EXPECT_EQ(os.fill(), '*');
}

TEST(Logger, DefaultFormatterUsesTheClockAndTheEntryThread) {
    std::ostringstream thread;
    thread << std::this_thread::get_id();
    std::ostringstream os;
    Logger::DefaultEntryFormatter(os, {LogLevel::Fatal, std::this_thread::get_id(), "a", 7, "m"});
    std::string const head = "\\[\\d\\d:\\d\\d:\\d\\d\\] \\[Fatal\\] \\[t:" + thread.str() + "\\] ";
    std::regex const pattern(head + " *\\[a:7\\] {20}: m\n");
    EXPECT_TRUE(std::regex_match(os.str(), pattern)) << os.str();
}

}  // namespace
