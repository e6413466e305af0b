#include "teappletlib/interchange/cmd/impl/apdu/encoding.hpp"

#include <gtest/gtest.h>

namespace teappletlib::interchange::cmd::impl::apdu {
namespace {

struct LengthCase {
    std::size_t valueLength;
    Bytes header;
};

class TlvLength : public ::testing::TestWithParam<LengthCase> {};

TEST_P(TlvLength, UsesShortFormBelow128AndMinimalLongFormAbove) {
    Bytes const value(GetParam().valueLength, 0xAB);
    Bytes const tlv = encodeTlv(0x05, value);
    EXPECT_EQ(GetParam().header, tlv.substr(0, GetParam().header.size()));
    EXPECT_EQ(value, tlv.substr(GetParam().header.size()));
}

INSTANTIATE_TEST_SUITE_P(BerDefiniteForm, TlvLength,
                         ::testing::Values(LengthCase{0, {0x05, 0x00}},
                                           LengthCase{127, {0x05, 0x7F}},
                                           LengthCase{128, {0x05, 0x81, 0x80}},
                                           LengthCase{255, {0x05, 0x81, 0xFF}},
                                           LengthCase{256, {0x05, 0x82, 0x01, 0x00}},
                                           LengthCase{300, {0x05, 0x82, 0x01, 0x2C}},
                                           LengthCase{0x10000, {0x05, 0x83, 0x01, 0x00, 0x00}}));

AuthObjectId id(std::uint8_t value) {
    return AuthObjectId{value};
}

TEST(AccessRuleEncoding, WrapsOneAndListPerElementUnderTag01) {
    Acl const rule{AclOr{AclAnd{id(2)}, AclAnd{id(3), id(4)}}};
    EXPECT_EQ((Bytes{0x01, 0x07, 0x02, 0x01, 0x02, 0x02, 0x02, 0x03, 0x04}), encodeTlv(rule));
}

TEST(AccessRuleEncoding, AnybodyIsAnEmptyOrElement) {
    EXPECT_EQ((Bytes{0x01, 0x00}), encodeTlv(Acl::Anybody));
}

TEST(AccessRuleEncoding, EmptyAndListKeepsItsElement) {
    Acl const rule{AclOr{AclAnd{}}};
    EXPECT_EQ((Bytes{0x01, 0x02, 0x02, 0x00}), encodeTlv(rule));
}

TEST(AccessRuleEncoding, KeepsTheOrderOfListsAndReferences) {
    Acl const rule{AclOr{AclAnd{id(4), id(3)}, AclAnd{id(1)}}};
    EXPECT_EQ((Bytes{0x01, 0x07, 0x02, 0x02, 0x04, 0x03, 0x02, 0x01, 0x01}), encodeTlv(rule));
}

TEST(IntegerTlv, CarriesTheLowBytesMostSignificantFirst) {
    EXPECT_EQ((Bytes{0x20, 0x02, 0x08, 0x00}), (encodeTlvInt<2, unsigned int>(0x20, 2048)));
    EXPECT_EQ((Bytes{0x20, 0x02, 0x23, 0x45}), (encodeTlvInt<2, unsigned int>(0x20, 0x12345)));
    EXPECT_EQ((Bytes{0x21, 0x01, 0x05}), (encodeTlvInt<1, unsigned char>(0x21, 5)));
}

TEST(IntegerTlv, ZeroWidthIgnoresTheValue) {
    EXPECT_EQ((Bytes{0x22, 0x00}), (encodeTlvInt<0, int>(0x22, 7)));
    EXPECT_EQ((Bytes{0x22, 0x00}), (encodeTlvInt<0, int>(0x22, -1)));
}

TEST(IntegerTlv, NegativeValueIsSentAsItsTwosComplementBytes) {
    EXPECT_EQ((Bytes{0x12, 0x02, 0xFF, 0xFE}), (encodeTlvInt<2, int>(0x12, -2)));
}

}  // namespace
}  // namespace teappletlib::interchange::cmd::impl::apdu
