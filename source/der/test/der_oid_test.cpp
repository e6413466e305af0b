#include "der/der_oid.hpp"

#include <gtest/gtest.h>

namespace {

using Bytes = std::basic_string<unsigned char>;

struct OidCase {
    char const* text;
    Bytes oid;
};

OidCase const RoundTrips[] = {
    {"1.2.840.113549", {0x2A, 0x86, 0x48, 0x86, 0xF7, 0x0D}},
    {"2.5.4.3", {0x55, 0x04, 0x03}},
    {"0.0", {0x00}},
    {"1.39", {0x4F}},
    {"2.0", {0x50}},
    {"2.40", {0x78}},
    {"2.47", {0x7F}},
    {"2.48", {0x81, 0x00}},
    {"2.999.3", {0x88, 0x37, 0x03}},
    {"1.2.0.128.16383.16384", {0x2A, 0x00, 0x81, 0x00, 0xFF, 0x7F, 0x81, 0x80, 0x00}},
    {"1.2.18446744073709551615",
     {0x2A, 0x81, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}},
};

TEST(DerOidTest, TextAndContentOctetsConvertBothWays) {
    for (auto const& c : RoundTrips) {
        SCOPED_TRACE(c.text);
        Bytes oid = {0xEE};
        EXPECT_TRUE(StringToOid(c.text, oid));
        EXPECT_EQ(oid, c.oid);
        std::string text = "untouched";
        EXPECT_TRUE(OidToString(c.oid, text));
        EXPECT_EQ(text, c.text);
    }
}

TEST(DerOidTest, MalformedTextIsRefusedAndLeavesTheOutputAlone) {
    char const* const texts[] = {"",
                                 "1",
                                 "1.-2",
                                 "1.2x",
                                 "1..2",
                                 ".1.2",
                                 "1.2..",
                                 "1. 2",
                                 "+1.2",
                                 "3.1",
                                 "1.40",
                                 "0.40",
                                 "1.2.-0",
                                 "1.2.18446744073709551616",
                                 "2.18446744073709551600"};
    for (char const* text : texts) {
        SCOPED_TRACE(text);
        Bytes oid = {0xEE};
        EXPECT_FALSE(StringToOid(text, oid));
        EXPECT_EQ(oid, Bytes{0xEE});
    }
    Bytes oid = {0xEE};
    EXPECT_FALSE(StringToOid(nullptr, oid));
}

TEST(DerOidTest, TrailingDotEndsTheText) {
    Bytes oid;
    EXPECT_TRUE(StringToOid("1.2.", oid));
    EXPECT_EQ(oid, Bytes{0x2A});
}

TEST(DerOidTest, UnfinishedOrOversizedSubidentifiers) {
    std::string text = "untouched";
    EXPECT_TRUE(OidToString(Bytes{0x2A, 0x03, 0x86}, text));
    EXPECT_EQ(text, "1.2.3");
    text = "untouched";
    EXPECT_FALSE(OidToString(Bytes{}, text));
    EXPECT_FALSE(OidToString(Bytes{0x88}, text));
    EXPECT_FALSE(
        OidToString(Bytes{0x2A, 0x82, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x00}, text));
    EXPECT_EQ(text, "untouched");
}

}  // namespace
