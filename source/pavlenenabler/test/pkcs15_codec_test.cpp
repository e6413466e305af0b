// Certificate directory entries, their paths and the token label, on well-formed card files and
// on the truncated and malformed ones a card may hand back.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "der/der_string.hpp"
#include "pavlenenabler/enabler/pkcs15/codec/certificate_choice.hpp"
#include "pavlenenabler/enabler/pkcs15/codec/directory.hpp"
#include "pavlenenabler/enabler/pkcs15/codec/token_info.hpp"
#include "pavlenenabler/enabler/pkcs15/p15.hpp"
#include "velk/exceptions.hpp"

namespace pavlenenabler::enabler::pkcs15::codec {
namespace {

using Bytes = std::basic_string<unsigned char>;

Bytes Tlv(unsigned long tag, std::initializer_list<Bytes> parts) {
    Bytes value;
    for (auto const& part : parts) {
        value += part;
    }
    return CDerString(tag, value);
}

Bytes Text(std::string const& text) {
    return Bytes(text.begin(), text.end());
}

// Printable by the test framework: "none" or the label as quoted text.
std::string Shown(boost::optional<Bytes> const& label) {
    return label ? "'" + std::string(label->begin(), label->end()) + "'" : "none";
}

Bytes Fids(std::initializer_list<unsigned short> fids) {
    Bytes octets;
    for (unsigned short fid : fids) {
        octets += {static_cast<unsigned char>(fid >> 8), static_cast<unsigned char>(fid)};
    }
    return octets;
}

Bytes PathOf(Bytes const& octets) {
    return Tlv(0x30, {Tlv(0x04, {octets})});
}

// An X.509 certificate object: common attributes, class attributes, typeAttributes [1].
Bytes Entry(Bytes const& commonAttributes, Bytes const& value) {
    return Tlv(0x30, {Tlv(0x30, {commonAttributes}), Tlv(0x30, {{0x04, 0x01, 0x45}}),
                      Tlv(0xA1, {Tlv(0x30, {value})})});
}

Bytes LabelledEntry(std::string const& label, Bytes const& pathOctets) {
    return Entry(Tlv(0x0C, {Text(label)}), PathOf(pathOctets));
}

std::string PathError(CertificateChoice const& entry, unsigned int index) {
    try {
        entry.getPath(index);
    } catch (velk::CodingError const& error) {
        return error.what();
    }
    return "no error";
}

bool IsTypedOutcome(std::string const& message) {
    return message == "no error" || message == "Unable to decode path" ||
           message == "Path is too small";
}

TEST(CertificateChoiceTest, PathIdentifiersAreReadByPosition) {
    CertificateChoice const entry(
        LabelledEntry("Auth", {0x3F, 0x00, 0x50, 0x15, 0x43, 0x02, 0xC0, 0x01}));
    EXPECT_EQ(entry.getPath(0), 0x3F00);
    EXPECT_EQ(entry.getPath(2), 0x4302);
    EXPECT_EQ(entry.getPath(3), 0xC001);
    EXPECT_EQ(PathError(entry, 4), "Path is too small");
}

TEST(CertificateChoiceTest, LongPathsAreDecodedCompletely) {
    // 8 fills the first array exactly, 9 needs one growth, 17 two.
    for (unsigned short length : {1, 8, 9, 16, 17}) {
        SCOPED_TRACE(length);
        Bytes octets;
        for (unsigned short i = 1; i <= length; ++i) {
            octets += Fids({static_cast<unsigned short>(0x1100 + i)});
        }
        CertificateChoice const entry(LabelledEntry("Auth", octets));
        EXPECT_EQ(entry.getPath(0), 0x1101);
        EXPECT_EQ(entry.getPath(length - 1), 0x1100 + length);
        EXPECT_EQ(PathError(entry, length), "Path is too small");
    }
}

TEST(CertificateChoiceTest, UnreadablePathsCannotBeDecoded) {
    Bytes const eight = Fids({1, 2, 3, 4, 5, 6, 7, 8});
    struct Case {
        char const* name;
        Bytes entry;
    } const cases[] = {
        {"odd octet count", LabelledEntry("A", {0x3F, 0x00, 0x50})},
        {"single octet", LabelledEntry("A", {0x3F})},
        {"odd octet after eight identifiers", LabelledEntry("A", eight + Bytes{0x50})},
        {"FFFF first", LabelledEntry("A", Fids({0xFFFF, 0x4302}))},
        {"FFFF in the middle", LabelledEntry("A", Fids({0x3F00, 0xFFFF, 0x4302}))},
        {"FFFF as ninth identifier", LabelledEntry("A", eight + Fids({0xFFFF}))},
        {"no octets", LabelledEntry("A", {})},
        {"no OCTET STRING", Entry({}, Tlv(0x30, {{0x02, 0x01, 0x00}}))},
        {"direct value", Entry(Tlv(0x0C, {Text("A")}), {0x80, 0x02, 0x30, 0x00})},
        {"not an entry", {0x04, 0x02, 0x30, 0x00}},
        {"empty", {}},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PathError(CertificateChoice(c.entry), 0), "Unable to decode path");
    }
}

TEST(CertificateChoiceTest, LabelIsEmptyWhenTheEntryHasNone) {
    Bytes const path = PathOf(Fids({0x3F00, 0x4302, 0x0001}));
    Bytes const flags = {0x03, 0x02, 0x06, 0x40};
    struct Case {
        char const* name;
        Bytes entry;
        Bytes label;
    } const cases[] = {
        {"label", Entry(Tlv(0x0C, {Text("Auth")}) + flags, path), Text("Auth")},
        {"flags only", Entry(flags, path), {}},
        {"empty common attributes", Entry({}, path), {}},
        {"direct value keeps its label", Entry(Tlv(0x0C, {Text("Auth")}), {0x80, 0x00}),
         Text("Auth")},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CertificateChoice(c.entry).getLabel(), c.label);
    }
    EXPECT_EQ(CertificateChoice(Entry(flags, path)).getPath(2), 0x0001);
}

TEST(PathDecodeTest, BarePathsNeedAllowBare) {
    Bytes const octets = Tlv(0x04, {Fids({0x3F00, 0x5015})});
    Bytes const index = {0x02, 0x01, 0x07};
    Bytes const length = {0x80, 0x02, 0x01, 0x00};
    struct Case {
        char const* name;
        Bytes path;
        int index;
        int length;
        bool strict;
    } const cases[] = {
        {"index and length", Tlv(0x30, {octets, index, length}), 7, 256, true},
        {"index only", Tlv(0x30, {octets, index}), 7, -1, false},
        {"length only", Tlv(0x30, {octets, length}), -1, 256, false},
        {"bare", Tlv(0x30, {octets}), -1, -1, false},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.name);
        for (bool allowBare : {true, false}) {
            unsigned short fids[4] = {};
            unsigned int count = 99;
            int pathIndex = 99;
            int pathLength = 99;
            EXPECT_EQ(P15::PathDecode(c.path, fids, 4, count, pathIndex, pathLength, allowBare),
                      allowBare || c.strict);
            EXPECT_EQ(count, 2U);
            EXPECT_EQ(fids[1], 0x5015);
            EXPECT_EQ(pathIndex, c.index);
            EXPECT_EQ(pathLength, c.length);
        }
    }
}

TEST(PathDecodeTest, StopsAtCapacityAndMarksAHalfIdentifier) {
    unsigned short fids[3] = {};
    unsigned int count = 0;
    int index = 0;
    int length = 0;
    // Only two slots: the rest, odd octet included, stays unread.
    EXPECT_TRUE(P15::PathDecode(PathOf({0x3F, 0x00, 0x50, 0x15, 0x43}), fids, 2, count, index,
                                length, true));
    EXPECT_EQ(count, 2U);
    EXPECT_EQ(fids[2], 0);

    EXPECT_FALSE(P15::PathDecode(PathOf({0x3F, 0x00, 0x50}), fids, 3, count, index, length, true));
    EXPECT_EQ(count, 1U);
    EXPECT_EQ(fids[1], 0xFFFF);
}

TEST(DirectoryTest, PaddingAfterTheLastEntryIsNotAnEntry) {
    Bytes const entries = LabelledEntry("A", Fids({0x3F00, 0x4302, 0x0001})) +
                          LabelledEntry("B", Fids({0x3F00, 0x4302, 0x0002}));
    for (unsigned char padding : {0x00, 0xFF}) {
        SCOPED_TRACE(static_cast<int>(padding));
        Directory<CertificateChoice> const directory(entries + Bytes(64, padding));
        ASSERT_EQ(directory.getEntries().size(), 2U);
        EXPECT_EQ(directory.getEntries()[1].getLabel(), Text("B"));
        EXPECT_EQ(directory.getEntries()[1].getPath(2), 0x0002);
    }
}

TEST(DirectoryTest, DuplicateLabelsKeepFileOrder) {
    Bytes file = LabelledEntry("Auth", Fids({0x3F00, 0x4302, 0x0001})) +
                 LabelledEntry("Auth", Fids({0x3F00, 0x4302, 0x0002}));
    // The range form, as a file read from the card is handed over.
    Directory<CertificateChoice> const directory(&file[0], &file[0] + file.size());
    auto const& entries = directory.getEntries();
    ASSERT_EQ(entries.size(), 2U);
    EXPECT_EQ(entries[0].getLabel(), entries[1].getLabel());
    EXPECT_EQ(entries[0].getPath(2), 0x0001);
    EXPECT_EQ(entries[1].getPath(2), 0x0002);
}

TEST(DirectoryTest, TruncatedFileKeepsOnlyItsCompleteEntries) {
    Bytes const first = LabelledEntry("A", Fids({0x3F00, 0x4302, 0x0001}));
    Bytes const file = first + LabelledEntry("B", Fids({0x3F00, 0x4302, 0x0002}));
    for (std::size_t size = 0; size < file.size(); ++size) {
        SCOPED_TRACE(size);
        Directory<CertificateChoice> const directory(file.substr(0, size));
        ASSERT_EQ(directory.getEntries().size(), size < first.size() ? 0U : 1U);
        if (size >= first.size()) {
            EXPECT_EQ(directory.getEntries()[0].getPath(2), 0x0001);
        }
    }
}

TEST(DirectoryTest, GarbageGivesTypedErrorsOnly) {
    Bytes const entry = LabelledEntry("A", Fids({0x3F00, 0x4302, 0x0001}));
    std::vector<Bytes> inputs = {
        {0x30},
        {0x30, 0x82, 0xFF, 0xFF, 0x30},
        {0x30, 0x80, 0x30, 0x00, 0x00, 0x00},
        {0x30, 0x83, 0x00, 0x00, 0x01, 0x00},
        {0x1F, 0x81, 0x81, 0x81},
        {0xA1, 0x05, 0x30, 0x03, 0x30, 0x01, 0x04},
        {0x30, 0x06, 0x30, 0x00, 0x30, 0x00, 0xA1, 0x7F},
        Bytes(40, 0xFF),
    };
    // Every entry cut short, and every entry with an inner length raised past its end.
    for (std::size_t size = 0; size < entry.size(); ++size) {
        inputs.push_back(entry.substr(0, size));
        Bytes corrupt = entry;
        corrupt[size] = static_cast<unsigned char>(corrupt[size] + 1);
        inputs.push_back(corrupt);
    }
    for (auto const& input : inputs) {
        for (auto const& choice : Directory<CertificateChoice>(input).getEntries()) {
            // Whatever is read comes from the input, and the only failures are the typed ones.
            EXPECT_NE(input.find(choice.getLabel()), Bytes::npos);
            EXPECT_PRED1(IsTypedOutcome, PathError(choice, 2));
        }
        EXPECT_PRED1(IsTypedOutcome, PathError(CertificateChoice(input), 2));
    }
}

TEST(TokenInfoTest, LabelIsFoundPastTheOptionalManufacturer) {
    Bytes const head = {0x02, 0x01, 0x00, 0x04, 0x02, 0x12, 0x34};
    Bytes const label = {0x80, 0x04, 0x54, 0x65, 0x73, 0x74};
    Bytes const manufacturer = {0x0C, 0x01, 0x41};
    Bytes const flags = {0x03, 0x01, 0x00};
    struct Case {
        char const* name;
        Bytes contents;
        char const* label;
    } const cases[] = {
        {"label",
         {0x30, 0x0D, 0x02, 0x01, 0x00, 0x04, 0x02, 0x12, 0x34, 0x80, 0x04, 0x54, 0x65, 0x73, 0x74},
         "'Test'"},
        {"manufacturer and label", Tlv(0x30, {head, manufacturer, label, flags}), "'Test'"},
        {"empty label", Tlv(0x30, {head, {0x80, 0x00}}), "''"},
        {"no label", Tlv(0x30, {head, flags}), "none"},
        {"manufacturer, no label", Tlv(0x30, {head, manufacturer}), "none"},
        {"label cut short", Tlv(0x30, {head}) + Bytes{0x80, 0x04, 0x54}, "none"},
        {"file cut inside the label", Tlv(0x30, {head, label}).substr(0, 12), "none"},
        {"no serial number", Tlv(0x30, {{0x02, 0x01, 0x00}, label}), "none"},
        {"empty file", {}, "none"},
        {"padding only", Bytes(16, 0xFF), "none"},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Shown(TokenInfo(c.contents).getTokenLabel()), c.label);
    }
}

}  // namespace
}  // namespace pavlenenabler::enabler::pkcs15::codec
