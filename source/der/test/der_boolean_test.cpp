#include "der/der_boolean.hpp"

#include <gtest/gtest.h>

namespace {

using Bytes = std::basic_string<unsigned char>;

TEST(DerBooleanTest, EncodesTrueAsFF) {
    EXPECT_EQ(Bytes(BoolEncode(true)), (Bytes{0x01, 0x01, 0xFF}));
    EXPECT_EQ(Bytes(BoolEncode(false)), (Bytes{0x01, 0x01, 0x00}));
    EXPECT_TRUE(BoolDecode(BoolEncode(true), false));
    EXPECT_FALSE(BoolDecode(BoolEncode(false), true));
}

TEST(DerBooleanTest, DecodesAnyNonZeroOctetAsTrue) {
    struct Case {
        char const* name;
        Bytes der;
        bool decoded;
        bool ok;
    } const cases[] = {
        {"zero", {0x01, 0x01, 0x00}, false, true},
        {"one", {0x01, 0x01, 0x01}, true, true},
        {"empty value", {0x01, 0x00}, false, false},
        {"context tag", {0x81, 0x01, 0xFF}, true, true},
        {"integer tag", {0x02, 0x01, 0x00}, true, false},
        {"cut short", {0x01, 0x01}, true, false},
        {"two octets", {0x01, 0x02, 0x00, 0x00}, false, false},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(BoolDecode(c.der, true), c.decoded);
        EXPECT_EQ(BoolDecodeOK(c.der), c.ok);
    }
    EXPECT_FALSE(BoolDecodeValue(Bytes{}, true));
}

}  // namespace
