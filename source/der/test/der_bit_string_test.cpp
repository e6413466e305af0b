#include "der/der_bit_string.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Bytes = std::basic_string<unsigned char>;
using Flags = std::vector<unsigned char>;

Flags Decode(Bytes const& value, int count) {
    Flags flags(static_cast<std::size_t>(count), 0xEE);
    BitStringDecodeValue(value, count, flags.data());
    return flags;
}

TEST(DerBitStringTest, EncodesUpToTheLastSetFlag) {
    struct Case {
        Flags flags;
        Bytes value;
    } const cases[] = {
        {{1, 0, 1}, {0x05, 0xA0}},
        {{0, 0, 0, 0, 0, 0, 0, 0, 1}, {0x07, 0x00, 0x80}},
        {{0, 0, 0, 0, 0, 0, 0, 7}, {0x00, 0x01}},
        {{0, 0, 0}, {0x00}},
        {{}, {0x00}},
        {{1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, {0x07, 0x80}},
    };
    for (auto const& c : cases) {
        EXPECT_EQ(BitStringEncodeValue(static_cast<int>(c.flags.size()), c.flags.data()), c.value);
    }
    EXPECT_EQ(BitStringEncodeValue(-3, nullptr), Bytes{0x00});
}

TEST(DerBitStringTest, FlagsSurviveARoundTrip) {
    Flags const flags = {1, 1, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0};
    Flags expected = flags;
    expected.resize(28, 0);
    EXPECT_EQ(Decode(BitStringEncodeValue(static_cast<int>(flags.size()), flags.data()), 28),
              expected);
}

TEST(DerBitStringTest, DecodesOnlyTheSignificantBits) {
    struct Case {
        char const* name;
        Bytes value;
        Flags flags;
    } const cases[] = {
        {"three bits", {0x05, 0xA0}, {1, 0, 1, 0, 0, 0, 0, 0}},
        {"unused bits ignored", {0x05, 0xFF}, {1, 1, 1, 0, 0, 0, 0, 0}},
        {"empty content", {}, {0, 0, 0, 0, 0, 0, 0, 0}},
        {"unused count alone", {0x00}, {0, 0, 0, 0, 0, 0, 0, 0}},
        {"more unused bits than data", {0x09, 0xFF}, {0, 0, 0, 0, 0, 0, 0, 0}},
        {"unused count FF", {0xFF, 0xFF, 0xFF}, {0, 0, 0, 0, 0, 0, 0, 0}},
        {"bits run past the first octet", {0x0C, 0xFF, 0xFF}, {1, 1, 1, 1, 0, 0, 0, 0}},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Decode(c.value, 8), c.flags);
    }
    unsigned char untouched = 0xEE;
    BitStringDecodeValue(Bytes{0x00, 0xFF}, 0, &untouched);
    EXPECT_EQ(untouched, 0xEE);
}

TEST(DerBitStringTest, ShortFormsClearTheUnusedBits) {
    struct Case {
        char const* name;
        Bytes der;
        unsigned char asChar;
        unsigned short asShort;
    } const cases[] = {
        {"one octet", {0x03, 0x02, 0x05, 0xA0}, 0xA0, 0xA000},
        {"unused bits set", {0x03, 0x02, 0x04, 0xFF}, 0xF0, 0xF000},
        {"unused count 31", {0x03, 0x02, 0x1F, 0xFF}, 0x00, 0x0000},
        {"unused count 0xFF", {0x03, 0x02, 0xFF, 0xFF}, 0x00, 0x0000},
        {"two octets", {0x03, 0x03, 0x01, 0x12, 0x35}, 0x77, 0x1234},
        {"two octets, unused count 31", {0x03, 0x03, 0x1F, 0xFF, 0xFF}, 0x77, 0x0000},
        {"octet string", {0x04, 0x02, 0x00, 0xFF}, 0x77, 0x7777},
        {"cut short", {0x03, 0x02, 0x00}, 0x77, 0x7777},
        {"no data", {0x03, 0x01, 0x00}, 0x77, 0x7777},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(BitStringToChar(c.der, 0x77), c.asChar);
        EXPECT_EQ(BitStringToShort(c.der, 0x7777), c.asShort);
    }
}

}  // namespace
