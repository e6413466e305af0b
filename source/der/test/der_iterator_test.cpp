#include "der/der_iterator.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

using Bytes = std::basic_string<unsigned char>;

// SEQUENCE { INTEGER 5, OCTET STRING AA BB CC }
Bytes const Example = {0x30, 0x08, 0x02, 0x01, 0x05, 0x04, 0x03, 0xAA, 0xBB, 0xCC};

TEST(DerIteratorTest, WalkStopsAtPaddingAndAtLeftoverBytes) {
    struct Case {
        char const* name;
        Bytes bytes;
        unsigned long count;
    } const cases[] = {
        {"empty", {}, 0},
        {"zero padding", {0x30, 0x03, 0x02, 0x01, 0x05, 0x00, 0x00, 0x00}, 1},
        {"FF padding", {0x30, 0x03, 0x02, 0x01, 0x05, 0xFF, 0xFF, 0xFF}, 1},
        {"one byte left", {0x30, 0x03, 0x02, 0x01, 0x05, 0x30}, 1},
        {"element cut short", {0x04, 0x00, 0x04, 0x05, 0x01}, 1},
        {"indefinite length", {0x04, 0x00, 0x30, 0x80, 0x00, 0x00}, 1},
        {"three elements", {0x05, 0x00, 0x01, 0x01, 0xFF, 0x04, 0x00}, 3},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.name);
        CDerIterator const it(c.bytes);
        EXPECT_EQ(it.NumDers(), c.count);
        EXPECT_EQ(Bytes(it.GetDer(c.count)), Bytes{});
        unsigned long pos = 0;
        for (unsigned long i = 0; i < c.count; ++i) {
            EXPECT_EQ(Bytes(it.GetNextDer(pos)), Bytes(it.GetDer(i)));
        }
        unsigned long const end = pos;
        EXPECT_EQ(Bytes(it.GetNextDer(pos)), Bytes{});
        EXPECT_EQ(pos, end);
    }
}

TEST(DerIteratorTest, CursorBeyondTheBufferFindsNothing) {
    CDerIterator const it(Example);
    for (unsigned long start : {10UL, 11UL, ~0UL}) {
        unsigned long pos = start;
        EXPECT_EQ(Bytes(it.GetNextDer(pos)), Bytes{});
        EXPECT_EQ(pos, start);
    }
}

TEST(DerIteratorTest, AssignmentReplacesTheBuffer) {
    CDerIterator it(Bytes{});
    it = Example;
    EXPECT_EQ(it.NumDers(), 1U);
}

struct SliceCase {
    char const* path;
    bool ok;
    Bytes result;
};

void ExpectSlices(Bytes const& buffer, std::initializer_list<SliceCase> cases) {
    CDerIterator const it(buffer);
    for (auto const& c : cases) {
        SCOPED_TRACE(c.path);
        bool ok = !c.ok;
        EXPECT_EQ(it.Slice(c.path, ok), c.result);
        EXPECT_EQ(ok, c.ok);
        EXPECT_EQ(it.Slice(std::string(c.path)), c.result);
    }
}

TEST(DerIteratorTest, SlicePathsPickNestedElements) {
    ExpectSlices(Example, {
                              {"!SEQ{!INT!OCT", true, {0x04, 0x03, 0xAA, 0xBB, 0xCC}},
                              {"!SEQ{1", true, {0x04, 0x03, 0xAA, 0xBB, 0xCC}},
                              {"!SEQ{?BOO!INT", true, {0x02, 0x01, 0x05}},
                              {"!SEQ{?BOO?INT", true, {0x02, 0x01, 0x05}},
                              {"!SEQ{!OCT", false, {}},
                              {"!SEQ{!INT?BOO", false, {}},
                              {"!SEQ{5", true, {}},
                              {"!ANY{!ANY!ANY{", true, {0xAA, 0xBB, 0xCC}},
                              {"0{0{", true, {0x05}},
                              {"!SEQ{!INT{{", true, {}},
                              {"", true, Example},
                              {"!SEQ{!INT!OCT!OCT", false, {}},
                          });
}

TEST(DerIteratorTest, SliceValueGivesTheContentOctets) {
    CDerIterator const it(Example);
    bool ok = false;
    EXPECT_EQ(it.SliceValue("!SEQ{!INT!OCT", ok), (Bytes{0xAA, 0xBB, 0xCC}));
    EXPECT_TRUE(ok);
    EXPECT_EQ(it.SliceValue(std::string("!SEQ{!INT")), Bytes{0x05});
    std::string const path = "!SEQ{!INT";
    EXPECT_EQ(it.SliceValue(Bytes(path.begin(), path.end())), Bytes{0x05});
    EXPECT_EQ(it.SliceValue("!SEQ{!OCT", ok), Bytes{});
    EXPECT_FALSE(ok);
}

TEST(DerIteratorTest, TruncatedOrUnknownPathTextFails) {
    ExpectSlices(Example, {
                              {"!", false, {}},
                              {"?", false, {}},
                              {"!SE", false, {}},
                              {"!SEQ{!IN", false, {}},
                              {"!SEQ{?BOO!I", false, {}},
                              {"!XYZ", false, {}},
                              {"!CX0", false, {}},
                              {"!CCx", false, {}},
                              {"!seq", false, {}},
                              {"!SEQ{a", false, {}},
                              {"!SEQ}", false, {}},
                              {"!SEQ{G", false, {}},
                          });
    CDerIterator const it(Example);
    bool ok = true;
    EXPECT_EQ(it.Slice(static_cast<char const*>(nullptr), ok), Bytes{});
    EXPECT_FALSE(ok);
    ok = true;
    EXPECT_EQ(it.SliceValue(static_cast<char const*>(nullptr), ok), Bytes{});
    EXPECT_FALSE(ok);
    EXPECT_EQ(it.Slice(std::string("!SEQ\0", 5)), Bytes{});
}

TEST(DerIteratorTest, OptionalItemEndingARunNeedsAnElement) {
    ExpectSlices({0x30, 0x03, 0x02, 0x01, 0x05}, {{"!SEQ{!INT?OCT", false, {}}});
}

TEST(DerIteratorTest, EmptyBufferFailsEveryItem) {
    ExpectSlices({}, {{"", true, {}}, {"?ANY", false, {}}, {"0", true, {}}, {"{", true, {}}});
}

TEST(DerIteratorTest, ClassFormDigitCodesCompareTheFirstIdentifierOctet) {
    Bytes const buffer = {0x30, 0x0D, 0x81, 0x00, 0x21, 0x00, 0xA1, 0x00,
                          0x61, 0x00, 0xC0, 0x00, 0xBF, 0x1F, 0x00};
    ExpectSlices(buffer, {
                             {"!SEQ{!CP1!ANY!CC1", true, {0xA1, 0x00}},
                             {"!SEQ{!CC1", false, {}},
                             {"!SEQ{!ANY!CC1", false, {}},
                             {"!SEQ{!ANY!ANY!ANY!AC1", true, {0x61, 0x00}},
                             {"!SEQ{!ANY!ANY!ANY!ANY!PP0", true, {0xC0, 0x00}},
                             {"!SEQ{5", true, {0xBF, 0x1F, 0x00}},
                         });
    ExpectSlices({0xBF, 0x1F, 0x00}, {{"!CC1", false, {}}, {"?ANY", true, {0xBF, 0x1F, 0x00}}});
    ExpectSlices({0x24, 0x00}, {{"!OCT", false, {}}});
}

TEST(DerIteratorTest, IndexDigitsAreHexadecimal) {
    Bytes buffer;
    for (unsigned char i = 0; i < 12; ++i) {
        buffer += Bytes{0x02, 0x01, i};
    }
    ExpectSlices(buffer, {
                             {"9", true, {0x02, 0x01, 0x09}},
                             {"A", true, {0x02, 0x01, 0x0A}},
                             {"B", true, {0x02, 0x01, 0x0B}},
                             {"C", true, {}},
                             {"a", false, {}},
                         });
}

}  // namespace
