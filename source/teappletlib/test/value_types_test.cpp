#include <gtest/gtest.h>

#include <sstream>

#include "teappletlib/interchange/absolute_fid.hpp"
#include "teappletlib/interchange/absolute_path.hpp"
#include "teappletlib/interchange/acl.hpp"
#include "teappletlib/interchange/capabilities.hpp"
#include "teappletlib/interchange/card_identifiers.hpp"
#include "teappletlib/interchange/cmd/tessaro_aid.hpp"
#include "teappletlib/interchange/file_information.hpp"
#include "teappletlib/interchange/key_flags.hpp"
#include "teappletlib/interchange/pin_length_range.hpp"
#include "velk/exceptions.hpp"

namespace teappletlib::interchange {
namespace {

using iso7816::interchange::FileId;

template <class T>
std::string printed(T const& value) {
    std::ostringstream out;
    out << value;
    return out.str();
}

std::vector<bool> bitsSet(std::size_t length, std::initializer_list<std::size_t> set) {
    std::vector<bool> bits(length);
    for (auto i : set) {
        bits[i] = true;
    }
    return bits;
}

TEST(Capabilities, SingleBitSetIsAsLongAsItsBit) {
    auto const set = Capabilities::buildWithBitSet(27);
    EXPECT_EQ(bitsSet(28, {27}), set.getBits());
    EXPECT_EQ(Capabilities::EasWrappingUnwrapping, set);
}

TEST(Capabilities, NamedConstantsCarryTheirBitNumbers) {
    EXPECT_EQ(bitsSet(1, {0}), Capabilities::Biometrics.getBits());
    EXPECT_EQ(bitsSet(7, {6}), Capabilities::NoLogicalChannels.getBits());
    EXPECT_EQ(bitsSet(17, {16}), Capabilities::Sha2.getBits());
    EXPECT_EQ(bitsSet(21, {20}), Capabilities::A006.getBits());
}

TEST(Capabilities, OrLengthensToTheLongerOperand) {
    auto const set = Capabilities::Biometrics | Capabilities::EasWrappingUnwrapping;
    EXPECT_EQ(bitsSet(28, {0, 27}), set.getBits());
}

TEST(Capabilities, AndShortensToTheShorterOperand) {
    auto const set = Capabilities::Otp & Capabilities::Biometrics;
    EXPECT_EQ(bitsSet(1, {}), set.getBits());
    EXPECT_TRUE(!set);
    EXPECT_FALSE(static_cast<bool>(set));
    EXPECT_EQ(Capabilities{}, set);
}

TEST(Capabilities, XorClearsCommonBitsAndKeepsTheLongerLength) {
    auto const both = Capabilities::GndIso | Capabilities::Digest;
    auto const set = both ^ Capabilities::Digest;
    EXPECT_EQ(bitsSet(18, {2}), set.getBits());
    EXPECT_EQ(Capabilities::GndIso, set);
}

TEST(Capabilities, CompoundFormsChangeTheLeftOperand) {
    auto set = Capabilities::Biometrics;
    set |= Capabilities::RawDes;
    EXPECT_EQ(bitsSet(24, {0, 23}), set.getBits());
    set &= Capabilities::Biometrics;
    EXPECT_EQ(Capabilities::Biometrics, set);
    set ^= Capabilities::Biometrics;
    EXPECT_TRUE(!set);
}

TEST(Capabilities, EqualityIgnoresTrailingClearBits) {
    auto longSet = Capabilities::buildWithBitSet(39) ^ Capabilities::buildWithBitSet(39);
    longSet |= Capabilities::PreciseBiometrics;
    EXPECT_EQ(40u, longSet.getBits().size());
    EXPECT_EQ(Capabilities::PreciseBiometrics, longSet);
    EXPECT_NE(Capabilities::GndIso, longSet);
}

TEST(Capabilities, EmptySetHasNoBitSet) {
    EXPECT_TRUE(!Capabilities{});
    EXPECT_FALSE(static_cast<bool>(Capabilities{}));
    EXPECT_TRUE(static_cast<bool>(Capabilities::Biometrics));
}

TEST(Capabilities, NegativeBitNumberIsRefused) {
    EXPECT_THROW(Capabilities::buildWithBitSet(-1), velk::InputError);
}

TEST(PinLengthRange, ContainsBothEnds) {
    PinLengthRange const range{4, 8};
    EXPECT_FALSE(rangeContains(range, 3));
    EXPECT_TRUE(rangeContains(range, 4));
    EXPECT_TRUE(rangeContains(range, 8));
    EXPECT_FALSE(rangeContains(range, 9));
}

TEST(PinLengthRange, InvertedRangeContainsNothing) {
    PinLengthRange const range{8, 4};
    for (unsigned long n = 0; n < 16; ++n) {
        EXPECT_FALSE(rangeContains(range, n)) << n;
    }
}

AuthObjectId id(std::uint8_t value) {
    return AuthObjectId{value};
}

TEST(Acl, OrderOfAndListsMatters) {
    Acl const a{AclOr{AclAnd{id(2)}, AclAnd{id(3)}}};
    Acl const b{AclOr{AclAnd{id(3)}, AclAnd{id(2)}}};
    EXPECT_NE(a, b);
    EXPECT_EQ(a, (Acl{AclOr{AclAnd{id(2)}, AclAnd{id(3)}}}));
}

TEST(Acl, OrderOfReferencesMatters) {
    EXPECT_NE((Acl{AclOr{AclAnd{id(2), id(3)}}}), (Acl{AclOr{AclAnd{id(3), id(2)}}}));
}

TEST(Acl, AnybodyIsTheEmptyRule) {
    EXPECT_EQ(Acl::Anybody, Acl{});
    EXPECT_TRUE(Acl::Anybody.getRule().empty());
    EXPECT_NE(Acl::Anybody, (Acl{AclOr{AclAnd{}}}));
}

TEST(AbsoluteFid, AppendingToTheMfGivesAOneElementPath) {
    auto const path = AbsoluteFid::Mf + FileId{0x4302};
    EXPECT_EQ((AbsoluteFid{FileId{0x4302}}), path);
    EXPECT_TRUE(AbsoluteFid::Mf.empty());
}

TEST(AbsoluteFid, PrintsAsBracketedFileIds) {
    EXPECT_EQ("[]", printed(AbsoluteFid::Mf));
    EXPECT_EQ("[4302]", printed(AbsoluteFid::Mf + FileId{0x4302}));
    EXPECT_EQ("[4302 5015 0012]",
              printed(AbsoluteFid{FileId{0x4302}, FileId{0x5015}, FileId{0x12}}));
}

TEST(AbsoluteFid, PathsOfDifferentLengthsDiffer) {
    AbsoluteFid const shortPath{FileId{0x4302}};
    EXPECT_NE(shortPath, shortPath + FileId{0x5015});
    EXPECT_NE(shortPath, AbsoluteFid{FileId{0x4303}});
}

TEST(AbsolutePath, MfHoldsTheEmptyIdentifierPath) {
    auto const* fid = boost::get<AbsoluteFid>(&AbsolutePath::Mf);
    ASSERT_NE(nullptr, fid);
    EXPECT_EQ(AbsoluteFid::Mf, *fid);
    EXPECT_EQ(0x20, NoShortFileId.GetValue());
}

TEST(FileInformation, ComparesSizeAndType) {
    FileInformation const ef{10, FileType::Ef};
    EXPECT_EQ(ef, (FileInformation{10, FileType::Ef}));
    EXPECT_NE(ef, (FileInformation{10, FileType::Df}));
    EXPECT_NE(ef, (FileInformation{11, FileType::Ef}));
}

TEST(CardIdentifiers, PrintAsSpacedLowerCaseHex) {
    EXPECT_EQ("01 a2", printed(ModelId{{0x01, 0xA2}}));
    EXPECT_EQ("00 11 22 33 a4 b5 c6 ff",
              printed(SerialNumber{{0x00, 0x11, 0x22, 0x33, 0xA4, 0xB5, 0xC6, 0xFF}}));
}

TEST(CardIdentifiers, PrintingLeavesTheStreamInDecimal) {
    std::ostringstream out;
    out << ModelId{{0x01, 0xA2}} << ' ' << 26;
    EXPECT_EQ("01 a2 26", out.str());
}

TEST(KeyPart, BothIsFirstOrSecond) {
    EXPECT_EQ(KeyPart::Both, KeyPart::First | KeyPart::Second);
    EXPECT_EQ(KeyPart::Second, KeyPart::Both & KeyPart::Second);
    EXPECT_EQ(KeyPart::First, KeyPart::Both ^ KeyPart::Second);
    auto part = KeyPart::First;
    part |= KeyPart::Second;
    EXPECT_EQ(KeyPart::Both, part);
}

TEST(KeyControlFlags, CompoundOperatorsWorkOnTheBits) {
    auto flags = static_cast<KeyControlFlags>(0x01);
    flags |= static_cast<KeyControlFlags>(0x84);
    EXPECT_EQ(0x85u, static_cast<std::uint32_t>(flags));
    flags &= static_cast<KeyControlFlags>(0x0F);
    EXPECT_EQ(0x05u, static_cast<std::uint32_t>(flags));
    flags ^= static_cast<KeyControlFlags>(0x01);
    EXPECT_EQ(0x04u, static_cast<std::uint32_t>(flags));
}

TEST(TessaroAid, IsTheRegisteredPrefixFollowedByPkcs15) {
    std::basic_string<unsigned char> const expected{0xA0, 0x00, 0x00, 0x00, 0x63, 0x50,
                                                    0x4B, 0x43, 0x53, 0x2D, 0x31, 0x35};
    EXPECT_EQ(expected, cmd::TessaroAid.getRaw());
}

}  // namespace
}  // namespace teappletlib::interchange
