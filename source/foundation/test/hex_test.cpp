#include "velk/hex.hpp"

#include <gtest/gtest.h>

#include <string>

#include "velk/string_conversions.hpp"

namespace {

using Bytes = std::basic_string<unsigned char>;

TEST(Hex, DigitValuesOfBothCasesAndZeroForAnythingElse) {
    EXPECT_EQ(velk::hexValue('0'), 0);
    EXPECT_EQ(velk::hexValue('9'), 9);
    EXPECT_EQ(velk::hexValue('a'), 10);
    EXPECT_EQ(velk::hexValue('F'), 15);
    EXPECT_EQ(velk::hexValue('g'), 0);
    EXPECT_EQ(velk::hexValue('\xB0'), 0);
}

TEST(Hex, HexToStringReadsBadDigitsAsZeroAndPadsAnOddDigit) {
    EXPECT_EQ(velk::HexToString("3B8f"), (Bytes{0x3B, 0x8F}));
    EXPECT_EQ(velk::HexToString("abc"), (Bytes{0xAB, 0xC0}));
    EXPECT_EQ(velk::HexToString("zz"), (Bytes{0x00}));
    EXPECT_EQ(velk::HexToString(""), Bytes{});
}

TEST(Hex, RepresentationIsTwoUpperCaseDigitsPerByte) {
    EXPECT_EQ(velk::HexRepresentation(Bytes{0x01, 0xAB}), "01AB");
    EXPECT_EQ(velk::HexRepresentation(Bytes{}), "");
}

TEST(Hex, EveryByteSurvivesARoundTrip) {
    Bytes all;
    for (int b = 0; b < 256; ++b) {
        all.push_back(static_cast<unsigned char>(b));
    }
    std::string const text = velk::HexRepresentation(all);
    EXPECT_EQ(text.size(), 512U);
    EXPECT_TRUE(velk::IsHexString(text));
    EXPECT_EQ(velk::HexToString(text), all);
    auto const octets = velk::hexToOctetString(text);
    ASSERT_TRUE(octets);
    EXPECT_EQ(velk::toUnsignedString(*octets), all);
}

TEST(Hex, IsHexStringNeedsEvenCountOfDigitsOnly) {
    EXPECT_TRUE(velk::IsHexString(""));
    EXPECT_TRUE(velk::IsHexString("0aF9"));
    EXPECT_FALSE(velk::IsHexString("abc"));
    EXPECT_FALSE(velk::IsHexString("0g"));
    EXPECT_FALSE(velk::IsHexString("0 "));
}

TEST(Hex, SanitizeKeepsDigitsInOrderAndDropsAnOddLastOne) {
    std::string text = "0x1F z3";
    velk::SanitizeHexString(text);
    EXPECT_EQ(text, "01F3");
    text = "abc";
    velk::SanitizeHexString(text);
    EXPECT_EQ(text, "ab");
    text =
        "\xC3\xA9"
        "12";
    velk::SanitizeHexString(text);
    EXPECT_EQ(text, "12");
}

TEST(Hex, HexToOctetStringRejectsOddLengthAndNonDigits) {
    EXPECT_FALSE(velk::hexToOctetString("0A1"));
    EXPECT_FALSE(velk::hexToOctetString("zz"));
    EXPECT_FALSE(velk::hexToOctetString("0 "));
    auto const empty = velk::hexToOctetString("");
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->empty());
}

TEST(Hex, HexToOctetStringRejectsBytesAbove127) {
    // These must be plain "not a digit", never a classification of a negative char.
    for (int b = 128; b < 256; ++b) {
        std::string const text = {'0', static_cast<char>(b)};
        EXPECT_FALSE(velk::hexToOctetString(text)) << b;
        EXPECT_FALSE(velk::IsHexString(text)) << b;
    }
}

TEST(Hex, LiteralsDecodeTheirText) {
    using namespace velk::literals;
    EXPECT_EQ("3B8F"_binstr, (Bytes{0x3B, 0x8F}));
    EXPECT_EQ("00ff"_binoctstr,
              (std::basic_string<velk::Octet>{velk::toOctet(0x00), velk::toOctet(0xFF)}));
}

}  // namespace
