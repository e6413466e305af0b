#include "velk/text.hpp"

#include <gtest/gtest.h>

#include <list>
#include <string>
#include <vector>

namespace {

using Pieces = std::vector<std::string>;

struct SplitCase {
    std::string text;
    std::string separator;
    Pieces pieces;
};

class ExplodeTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(ExplodeTest, SplitsAtEveryWholeDelimiterAndKeepsEmptyPieces) {
    EXPECT_EQ(velk::explode(GetParam().text, GetParam().separator), GetParam().pieces);
}

INSTANTIATE_TEST_SUITE_P(Text, ExplodeTest,
                         ::testing::Values(SplitCase{"", "\n", {""}},
                                           SplitCase{"a\n", "\n", {"a", ""}},
                                           SplitCase{"a\n\nb", "\n", {"a", "", "b"}},
                                           SplitCase{"a::b:c", "::", {"a", "b:c"}},
                                           SplitCase{"::", "::", {"", ""}},
                                           SplitCase{"abc", "", {"abc"}}));

class ExplodeAnyTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(ExplodeAnyTest, SplitsAtEachSeparatorCharacter) {
    EXPECT_EQ(velk::explodeAny(GetParam().text, GetParam().separator), GetParam().pieces);
}

INSTANTIATE_TEST_SUITE_P(Text, ExplodeAnyTest,
                         ::testing::Values(SplitCase{"/a/b", "/", {"", "a", "b"}},
                                           SplitCase{"a//b", "/", {"a", "", "b"}},
                                           SplitCase{"a/b\\c", "/\\", {"a", "b", "c"}},
                                           SplitCase{"a/b", "", {"a/b"}},
                                           SplitCase{"", "/", {""}}));

TEST(Text, ExplodeIntoReplacesPreviousContents) {
    Pieces out = {"old", "stuff", "here"};
    velk::explode("x,y", ",", out);
    EXPECT_EQ(out, (Pieces{"x", "y"}));
    velk::explodeAny("p", ",", out);
    EXPECT_EQ(out, (Pieces{"p"}));
}

TEST(Text, JoinPutsSeparatorOnlyBetweenNeighbours) {
    EXPECT_EQ(velk::join(Pieces{}, ", "), "");
    EXPECT_EQ(velk::join(Pieces{"a"}, ", "), "a");
    EXPECT_EQ(velk::join(Pieces{"a", "", "c"}, ", "), "a, , c");
    std::list<std::string> const parts = {"x", "y"};
    EXPECT_EQ(velk::join(parts.begin(), parts.end(), "/"), "x/y");
}

TEST(Text, JoinUndoesExplode) {
    std::string const text = "a\n\nb\n";
    EXPECT_EQ(velk::join(velk::explode(text, "\n"), "\n"), text);
}

TEST(Text, RtrimRemovesOnlyTheTrailingRun) {
    EXPECT_EQ(velk::rtrim("abc\r\n\r", "\r\n"), "abc");
    EXPECT_EQ(velk::rtrim("\n\n", "\r\n"), "");
    EXPECT_EQ(velk::rtrim("\na\nb", "\r\n"), "\na\nb");
    EXPECT_EQ(velk::rtrim("abc  ", ""), "abc  ");
    EXPECT_EQ(velk::rtrim("", "\n"), "");
}

TEST(Text, StringToUpperUpperCasesAsciiAndLeavesOtherBytes) {
    EXPECT_EQ(velk::stringToUpper("Reader 1 (Contact)"), "READER 1 (CONTACT)");
    std::string const withHighBytes = "a\xC3\xA9z";
    EXPECT_EQ(velk::stringToUpper(withHighBytes), "A\xC3\xA9Z");
}

}  // namespace
