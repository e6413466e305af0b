#include "der/der_string.hpp"

#include <gtest/gtest.h>

#include "der/der_iterator.hpp"
#include "velk/exceptions.hpp"

namespace {

using Bytes = std::basic_string<unsigned char>;

Bytes Filled(std::size_t size) {
    return Bytes(size, 0x5A);
}

TEST(DerStringTest, EncodesIdentifierOctetsAsGiven) {
    EXPECT_EQ(Bytes(CDerString(0x30, {})), (Bytes{0x30, 0x00}));
    EXPECT_EQ(Bytes(CDerString(0x02, {0x05})), (Bytes{0x02, 0x01, 0x05}));
    EXPECT_EQ(Bytes(CDerString(0x5F20, {})), (Bytes{0x5F, 0x20, 0x00}));
    EXPECT_EQ(Bytes(CDerString(0, {})), (Bytes{0x00, 0x00}));
    EXPECT_EQ(Bytes(CDerString(0x123456, {})), (Bytes{0x12, 0x34, 0x56, 0x00}));
    EXPECT_EQ(Bytes(CDerString(0x1BF1F8101, {})), (Bytes{0xBF, 0x1F, 0x81, 0x01, 0x00}));
}

struct LengthCase {
    std::size_t size;
    Bytes header;
};

TEST(DerStringTest, LengthFormsAtTheirBoundariesReadBack) {
    LengthCase const cases[] = {
        {0, {0x04, 0x00}},
        {127, {0x04, 0x7F}},
        {128, {0x04, 0x81, 0x80}},
        {200, {0x04, 0x81, 0xC8}},
        {255, {0x04, 0x81, 0xFF}},
        {256, {0x04, 0x82, 0x01, 0x00}},
        {300, {0x04, 0x82, 0x01, 0x2C}},
        {65535, {0x04, 0x82, 0xFF, 0xFF}},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.size);
        CDerString const der(0x04, Filled(c.size));
        EXPECT_EQ(der.SubStr(0, c.header.size()), c.header);
        EXPECT_EQ(der.Len(), c.size);
        EXPECT_EQ(der.DerLen(), c.header.size() + c.size);
        EXPECT_EQ(der.Val(), Filled(c.size));
        EXPECT_TRUE(der.IsValConsistent());
    }
}

TEST(DerStringTest, CopiesRawBytesAsTheyAre) {
    unsigned char const raw[] = {0x04, 0x05, 0x01};
    EXPECT_EQ(Bytes(CDerString(raw, 2)), (Bytes{0x04, 0x05}));
    unsigned char const* const none = nullptr;
    EXPECT_EQ(Bytes(CDerString(none, 2)), Bytes{});
    EXPECT_EQ(Bytes(CDerString(nullptr, 0)), Bytes{});
}

TEST(DerStringTest, ValueTooLongForTheLengthFormsIsRefused) {
    EXPECT_THROW(CDerString(0x04, Filled(65536)), velk::InputError);
}

struct ReadCase {
    char const* name;
    Bytes bytes;
    unsigned long rawTag;
    unsigned long len;
    unsigned long derLen;
    Bytes val;
    bool consistent;
};

TEST(DerStringTest, ReadersLookOnlyAtACompleteFirstElement) {
    ReadCase const cases[] = {
        {"empty value", {0x04, 0x00}, 0x04, 0, 2, {}, true},
        {"trailing octet", {0x02, 0x01, 0x05, 0xFF}, 0x02, 1, 3, {0x05}, false},
        {"value cut short", {0x04, 0x03, 0x01, 0x02}, 0x04, 0, 0, {}, false},
        {"indefinite length", {0x30, 0x80, 0x00, 0x00}, 0x30, 0, 0, {}, false},
        {"three length octets", {0x04, 0x83, 0x00, 0x00, 0x01, 0x00}, 0x04, 0, 0, {}, false},
        {"long length octets missing", {0x04, 0x82, 0x01}, 0x04, 0, 0, {}, false},
        {"255 claimed, 254 present", Bytes{0x04, 0x81, 0xFF} + Filled(254), 0x04, 0, 0, {}, false},
        {"65535 claimed, one short",
         Bytes{0x04, 0x82, 0xFF, 0xFF} + Filled(65534),
         0x04,
         0,
         0,
         {},
         false},
        {"no length octet", {0x04}, 0x04, 0, 0, {}, false},
        {"nothing", {}, 0, 0, 0, {}, false},
        {"identifier never ends", {0x1F, 0x81}, 0, 0, 0, {}, false},
        {"two-octet identifier", {0x9F, 0x1F, 0x01, 0x00}, 0x9F1F, 1, 4, {0x00}, true},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.name);
        CDerString const der(c.bytes);
        EXPECT_EQ(der.RawTag(), c.rawTag);
        EXPECT_EQ(der.Len(), c.len);
        EXPECT_EQ(der.DerLen(), c.derLen);
        EXPECT_EQ(der.Val(), c.val);
        EXPECT_EQ(der.IsValConsistent(), c.consistent);
        EXPECT_TRUE(der.IsValComplete());
    }
}

TEST(DerStringTest, TagNumberComesFromEitherIdentifierForm) {
    EXPECT_EQ(CDerString(Bytes{0x9F, 0x1F, 0x01, 0x00}).Tag(), 31U);
    EXPECT_EQ(CDerString(Bytes{0xBF, 0x81, 0x01, 0x00}).Tag(), 129U);
    EXPECT_EQ(CDerString(Bytes{0xA3, 0x00}).Tag(), 3U);
    EXPECT_EQ(CDerString(Bytes{0x1F, 0x81}).Tag(), 0U);
    EXPECT_EQ(CDerString(Bytes{}).Tag(), 0U);
}

TEST(DerStringTest, IdentifierWiderThanTheResultReadsAsNone) {
    Bytes const wide = {0x1F, 0x81, 0x81, 0x81, 0x81, 0x81, 0x81,
                        0x81, 0x81, 0x81, 0x81, 0x01, 0x00};
    EXPECT_EQ(CDerString(wide).RawTag(), 0U);
    EXPECT_EQ(CDerString(wide).Tag(), 0U);
}

TEST(DerStringTest, TagOverrideKeepsTheConstructedBit) {
    CDerString der(Bytes{0x30, 0x03, 0x02, 0x01, 0x05});
    EXPECT_EQ(Bytes(der.TagOverride(0x80, 2)), (Bytes{0xA2, 0x03, 0x02, 0x01, 0x05}));
    EXPECT_EQ(Bytes(CDerString(Bytes{0x04, 0x00}).TagOverride(0xFF, 0xFF)), (Bytes{0xDF, 0x00}));
    EXPECT_EQ(Bytes(CDerString(Bytes{}).TagOverride(0x80, 1)), Bytes{});
}

TEST(DerStringTest, SubStrStaysWithinTheHeldBytes) {
    CDerString const der(Bytes{0x02, 0x01, 0x05});
    EXPECT_EQ(der.SubStr(1, 10), (Bytes{0x01, 0x05}));
    EXPECT_EQ(der.SubStr(3, 1), Bytes{});
    EXPECT_EQ(der.SubStr(~0UL, ~0UL), Bytes{});
}

TEST(DerStringTest, ValIteratorWalksTheContents) {
    CDerString const der(Bytes{0x30, 0x06, 0x02, 0x01, 0x05, 0x01, 0x01, 0xFF});
    EXPECT_EQ(der.ValIterator().NumDers(), 2U);
    EXPECT_EQ(Bytes(der.ValIterator().GetDer(1)), (Bytes{0x01, 0x01, 0xFF}));
}

}  // namespace
