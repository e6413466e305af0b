#include "velk/local_time.hpp"

#include <gtest/gtest.h>

#include <ctime>
#include <limits>

namespace {

TEST(LocalTime, GmtimeBreaksDownUtc) {
    std::tm result{};
    std::time_t const leapDay = 951782400 + 3 * 3600 + 4 * 60 + 5;  // 2000-02-29 03:04:05
    ASSERT_EQ(gmtime_s(&result, &leapDay), 0);
    EXPECT_EQ(result.tm_year, 100);
    EXPECT_EQ(result.tm_mon, 1);
    EXPECT_EQ(result.tm_mday, 29);
    EXPECT_EQ(result.tm_hour, 3);
    EXPECT_EQ(result.tm_min, 4);
    EXPECT_EQ(result.tm_sec, 5);
}

TEST(LocalTime, FailureReportsAnErrorAndLeavesTheResultUntouched) {
    std::time_t const tooLate = std::numeric_limits<std::time_t>::max();
    std::tm result{};
    result.tm_year = 42;
    EXPECT_NE(localtime_s(&result, &tooLate), 0);
    EXPECT_NE(gmtime_s(&result, &tooLate), 0);
    EXPECT_EQ(result.tm_year, 42);
}

}  // namespace
