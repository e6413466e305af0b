#include "der/der_integer.hpp"

#include <gtest/gtest.h>

#include <climits>

namespace {

using Bytes = std::basic_string<unsigned char>;

TEST(DerIntegerTest, EncodesTheShortestTwosComplementForm) {
    struct Case {
        int value;
        Bytes octets;
    } const cases[] = {
        {0, {0x00}},
        {127, {0x7F}},
        {128, {0x00, 0x80}},
        {0x800000, {0x00, 0x80, 0x00, 0x00}},
        {-1, {0xFF}},
        {-128, {0x80}},
        {-129, {0xFF, 0x7F}},
        {INT_MAX, {0x7F, 0xFF, 0xFF, 0xFF}},
        {INT_MIN, {0x80, 0x00, 0x00, 0x00}},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(IntEncodeValue(c.value), c.octets);
        EXPECT_EQ(Bytes(IntEncode(c.value)), Bytes{0x02} + Bytes(1, c.octets.size()) + c.octets);
        EXPECT_EQ(IntDecode(IntEncode(c.value), 42), c.value);
    }
}

TEST(DerIntegerTest, EveryIntegerSurvivesARoundTrip) {
    for (long long value = INT_MIN; value <= INT_MAX; value += 196613) {
        EXPECT_EQ(IntDecodeValue(IntEncodeValue(static_cast<int>(value)), 0), value);
    }
}

TEST(DerIntegerTest, DecodesUniversalAndContextTagsOnly) {
    struct Case {
        char const* name;
        Bytes der;
        int decoded;
        bool ok;
    } const cases[] = {
        {"minus one", {0x02, 0x01, 0xFF}, -1, true},
        {"positive with leading zero", {0x02, 0x02, 0x00, 0x80}, 128, true},
        {"context tag [0]", {0x80, 0x01, 0x05}, 5, true},
        {"empty value", {0x02, 0x00}, 99, true},
        {"five octets", {0x02, 0x05, 0x00, 0x00, 0x00, 0x00, 0x01}, 99, false},
        {"octet string", {0x04, 0x01, 0x05}, 99, false},
        {"cut short", {0x02, 0x02, 0x05}, 99, false},
        {"nothing", {}, 99, false},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IntDecode(c.der, 99), c.decoded);
        EXPECT_EQ(IntDecodeOK(c.der), c.ok);
    }
}

TEST(DerIntegerTest, UnsignedValuesTakeFourOctetsOrAPositiveFifth) {
    EXPECT_EQ(UnsignedDecodeValue(Bytes{0x00, 0xFF, 0xFF, 0xFF, 0xFF}, 7U), 0xFFFFFFFFU);
    EXPECT_EQ(UnsignedDecodeValue(Bytes{0x01, 0x00, 0x00, 0x00, 0x00}, 7U), 7U);
    EXPECT_EQ(UnsignedDecodeValue(Bytes{0xFF}, 7U), 255U);
    EXPECT_EQ(UnsignedDecodeValue(Bytes{}, 7U), 7U);
    EXPECT_EQ(UnsignedDecode(Bytes{0x81, 0x02, 0x80, 0x00}, 7U), 0x8000U);
    EXPECT_EQ(UnsignedDecode(Bytes{0x03, 0x01, 0x01}, 7U), 7U);
}

TEST(DerIntegerTest, MagnitudeDropsOnlyTheSignOctet) {
    EXPECT_EQ(UnsignedDecodeValue(Bytes{0x00, 0x80}), Bytes{0x80});
    EXPECT_EQ(UnsignedDecodeValue(Bytes{0x00, 0x7F}), (Bytes{0x00, 0x7F}));
    EXPECT_EQ(UnsignedDecodeValue(Bytes{0x00}), Bytes{0x00});
    EXPECT_EQ(UnsignedDecode(Bytes{0x02, 0x02, 0x00, 0x80}), Bytes{0x80});
    EXPECT_EQ(UnsignedDecode(Bytes{0x80, 0x01, 0x05}), Bytes{});
}

TEST(DerIntegerTest, AbsoluteValueGetsASignOctetWhenNeeded) {
    EXPECT_EQ(IntEncodeAbsoluteValue(Bytes{}), Bytes{0x00});
    EXPECT_EQ(IntEncodeAbsoluteValue(Bytes{0x7F, 0x01}), (Bytes{0x7F, 0x01}));
    EXPECT_EQ(IntEncodeAbsoluteValue(Bytes{0x80}), (Bytes{0x00, 0x80}));
    EXPECT_EQ(IntEncodeAbsoluteValue(Bytes{0x00, 0x00, 0x01}), (Bytes{0x00, 0x00, 0x01}));
    EXPECT_EQ(UnsignedDecodeValue(IntEncodeAbsoluteValue(Bytes{0xC5, 0x01})), (Bytes{0xC5, 0x01}));
}

}  // namespace
