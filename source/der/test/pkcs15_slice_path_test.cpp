// The slice paths through which the PKCS#15 directory and token-info files are read, on the
// shapes those files take on cards, with and without their optional fields.
#include <gtest/gtest.h>

#include <initializer_list>

#include "der/der_integer.hpp"
#include "der/der_iterator.hpp"

namespace {

using Bytes = std::basic_string<unsigned char>;

char const* const CertificateLabel = "!SEQ{!SEQ{?UT8";
char const* const CertificateValue = "!SEQ{!SEQ!SEQ?CC0!CC1{!SEQ{!SEQ";
char const* const PathPath = "!SEQ{!OCT";
char const* const PathIndex = "!SEQ{!OCT?INT";
char const* const PathLength = "!SEQ{!OCT?INT?CP0";
char const* const TokenInfoLabel = "!SEQ{!INT!OCT?UT8!CP0{";
char const* const CertificatesPath = "!CC4{!SEQ{!OCT";
char const* const PinReference = "!SEQ{!SEQ!SEQ?CC0!CC1{!SEQ{!BIT!ENU!INT!INT?INT?CP0";

Bytes Tlv(unsigned long tag, std::initializer_list<Bytes> parts) {
    Bytes value;
    for (auto const& part : parts) {
        value += part;
    }
    return CDerString(tag, value);
}

Bytes const Label = {0x0C, 0x04, 'A', 'u', 't', 'h'};
Bytes const Flags = {0x03, 0x02, 0x06, 0x40};
Bytes const Path = {0x30, 0x11, 0x04, 0x08, 0x3F, 0x00, 0x50, 0x15, 0x43, 0x02,
                    0xC0, 0x01, 0x02, 0x01, 0x00, 0x80, 0x02, 0x05, 0x00};

Bytes Certificate(Bytes const& common, bool subClass, Bytes const& value) {
    Bytes const classAttributes = Tlv(0x30, {{0x04, 0x01, 0x45}});
    Bytes const typeAttributes = Tlv(0xA1, {Tlv(0x30, {value, Tlv(0x30, {})})});
    if (subClass) {
        return Tlv(0x30, {common, classAttributes, Tlv(0xA0, {Tlv(0x30, {})}), typeAttributes});
    }
    return Tlv(0x30, {common, classAttributes, typeAttributes});
}

TEST(Pkcs15SlicePathTest, CertificateEntryGivesLabelAndPath) {
    struct Case {
        char const* name;
        Bytes entry;
        Bytes label;
        Bytes path;
    } const cases[] = {
        {"label and subclass",
         Certificate(Tlv(0x30, {Label, Flags}), true, Path),
         {'A', 'u', 't', 'h'},
         Path},
        {"no subclass",
         Certificate(Tlv(0x30, {Label, Flags}), false, Path),
         {'A', 'u', 't', 'h'},
         Path},
        {"flags without label", Certificate(Tlv(0x30, {Flags}), false, Path), {}, Path},
        {"empty common attributes", Certificate(Tlv(0x30, {}), true, Path), {}, Path},
        {"direct value",
         Certificate(Tlv(0x30, {Label}), false, {0x80, 0x02, 0x30, 0x00}),
         {'A', 'u', 't', 'h'},
         {}},
        {"not an entry", {0x04, 0x02, 0x30, 0x00}, {}, {}},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.name);
        CDerIterator const it(c.entry);
        EXPECT_EQ(it.SliceValue(CertificateLabel), c.label);
        EXPECT_EQ(it.Slice(CertificateValue), c.path);
    }
}

TEST(Pkcs15SlicePathTest, PathFieldsWithAndWithoutIndexAndLength) {
    Bytes const fids = {0x3F, 0x00, 0x50, 0x15};
    Bytes const octets = Tlv(0x04, {fids});
    struct Case {
        char const* name;
        Bytes path;
        int index;
        int length;
    } const cases[] = {
        {"index and length", Tlv(0x30, {octets, {0x02, 0x01, 0x07}, {0x80, 0x02, 0x01, 0x00}}), 7,
         256},
        {"index only", Tlv(0x30, {octets, {0x02, 0x01, 0x07}}), 7, -1},
        {"length only", Tlv(0x30, {octets, {0x80, 0x01, 0x20}}), -1, 32},
        {"bare", Tlv(0x30, {octets}), -1, -1},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.name);
        CDerIterator const it(c.path);
        EXPECT_EQ(it.SliceValue(PathPath), fids);
        EXPECT_EQ(IntDecode(it.Slice(PathIndex), -1), c.index);
        EXPECT_EQ(IntDecode(it.Slice(PathLength), -1), c.length);
    }
    bool ok = true;
    EXPECT_EQ(CDerIterator(Tlv(0x30, {{0x02, 0x01, 0x07}})).SliceValue(PathPath, ok), Bytes{});
    EXPECT_FALSE(ok);
}

TEST(Pkcs15SlicePathTest, TokenLabelIsFoundPastTheOptionalManufacturer) {
    struct Case {
        char const* name;
        Bytes tokenInfo;
        bool ok;
        Bytes label;
    } const cases[] = {
        {"label",
         {0x30, 0x0D, 0x02, 0x01, 0x00, 0x04, 0x02, 0x12, 0x34, 0x80, 0x04, 0x54, 0x65, 0x73, 0x74},
         true,
         {0x54, 0x65, 0x73, 0x74}},
        {"manufacturer and label",
         {0x30, 0x10, 0x02, 0x01, 0x00, 0x04, 0x02, 0x12, 0x34, 0x0C, 0x01, 0x41, 0x80, 0x04, 0x54,
          0x65, 0x73, 0x74},
         true,
         {0x54, 0x65, 0x73, 0x74}},
        {"empty label",
         {0x30, 0x09, 0x02, 0x01, 0x00, 0x04, 0x02, 0x12, 0x34, 0x80, 0x00},
         true,
         {}},
        {"no label",
         {0x30, 0x0A, 0x02, 0x01, 0x00, 0x04, 0x02, 0x12, 0x34, 0x03, 0x01, 0x00},
         false,
         {}},
        {"manufacturer, no label",
         {0x30, 0x0A, 0x02, 0x01, 0x00, 0x04, 0x02, 0x12, 0x34, 0x0C, 0x01, 0x41},
         false,
         {}},
        {"cut inside the label",
         {0x30, 0x0D, 0x02, 0x01, 0x00, 0x04, 0x02, 0x12, 0x34, 0x80, 0x04, 0x54},
         false,
         {}},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.name);
        bool ok = !c.ok;
        EXPECT_EQ(CDerIterator(c.tokenInfo).Slice(TokenInfoLabel, ok), c.label);
        EXPECT_EQ(ok, c.ok);
    }
}

TEST(Pkcs15SlicePathTest, PaddedDirectoryFileWalksOnlyItsEntries) {
    Bytes const entry = Certificate(Tlv(0x30, {Label}), false, Path);
    for (unsigned char padding : {0x00, 0xFF}) {
        CDerIterator const directory(entry + entry + Bytes(40, padding));
        ASSERT_EQ(directory.NumDers(), 2U);
        EXPECT_EQ(CDerIterator(directory.GetDer(1)).Slice(CertificateValue), Path);
    }
}

TEST(Pkcs15SlicePathTest, ObjectDirectoryPathReadsItsFirstEntry) {
    Bytes const certificates = {0xA4, 0x06, 0x30, 0x04, 0x04, 0x02, 0x44, 0x04};
    Bytes const authObjects = {0xA8, 0x06, 0x30, 0x04, 0x04, 0x02, 0x44, 0x08};
    EXPECT_EQ(CDerIterator(certificates + authObjects).Slice(CertificatesPath),
              (Bytes{0x04, 0x02, 0x44, 0x04}));
    EXPECT_EQ(CDerIterator(authObjects + certificates).Slice(CertificatesPath), Bytes{});
}

TEST(Pkcs15SlicePathTest, PinReferenceFollowsAnOptionalMaximumLength) {
    Bytes const head = {0x03, 0x02, 0x02, 0x0C, 0x0A, 0x01, 0x01,
                        0x02, 0x01, 0x04, 0x02, 0x01, 0x08};
    Bytes const maxLength = {0x02, 0x01, 0x0C};
    Bytes const reference = {0x80, 0x01, 0x11};
    Bytes const common = Tlv(0x30, {Label});
    Bytes const authId = Tlv(0x30, {{0x04, 0x01, 0x01}});
    for (bool const withMax : {true, false}) {
        SCOPED_TRACE(withMax);
        Bytes const attributes = Tlv(0x30, {head, withMax ? maxLength : Bytes{}, reference});
        Bytes const pin = Tlv(0x30, {common, authId, Tlv(0xA1, {attributes})});
        EXPECT_EQ(CDerIterator(pin).Slice(PinReference), reference);
    }
}

}  // namespace
