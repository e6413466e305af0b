#include "der/der_generalized_time.hpp"

#include <gtest/gtest.h>

#include <ctime>

namespace {

using Bytes = std::basic_string<unsigned char>;

TEST(DerGeneralizedTimeTest, ZeroTimeIsTwelveZerosAndZ) {
    EXPECT_EQ(GeneralizedTimeEncodeValueZero(), "000000000000Z");
}

TEST(DerGeneralizedTimeTest, NowIsTheCurrentUtcSecond) {
    std::time_t const before = std::time(nullptr);
    std::string const now = GeneralizedTimeEncodeValueNow();
    std::time_t const after = std::time(nullptr);
    ASSERT_EQ(now.size(), 15U);
    EXPECT_EQ(now.back(), 'Z');
    std::tm parsed{};
    ASSERT_NE(strptime(now.c_str(), "%Y%m%d%H%M%SZ", &parsed), nullptr);
    std::time_t const stamp = timegm(&parsed);
    EXPECT_GE(stamp, before);
    EXPECT_LE(stamp, after);
}

TEST(DerGeneralizedTimeTest, ElementHoldsTheTextUpToItsFirstNul) {
    EXPECT_EQ(Bytes(GeneralizedTimeEncode("")), (Bytes{0x18, 0x00}));
    EXPECT_EQ(Bytes(GeneralizedTimeEncode(std::string("20240101\0junk", 13))),
              (Bytes{0x18, 0x08, '2', '0', '2', '4', '0', '1', '0', '1'}));
    EXPECT_EQ(GeneralizedTimeEncode(GeneralizedTimeEncodeValueZero()).Len(), 13U);
}

}  // namespace
