#include "velk/path.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(Path, OnlySlashSeparatesDirectories) {
    EXPECT_TRUE(velk::IsDirectorySeperator('/'));
    EXPECT_FALSE(velk::IsDirectorySeperator('\\'));
    EXPECT_FALSE(velk::IsDirectorySeperator('\0'));
}

TEST(Path, FileNameIsTheTextAfterTheLastSeparator) {
    EXPECT_EQ(velk::GetFileName("src/x/File.ext"), "File.ext");
    EXPECT_EQ(velk::GetFileName("File"), "File");
    EXPECT_EQ(velk::GetFileName("dir/"), "");
    EXPECT_EQ(velk::GetFileName("/abs/file.cpp"), "file.cpp");
}

TEST(Path, MergeAlwaysInsertsExactlyOneSeparator) {
    EXPECT_EQ(velk::MergePathComponents("a", "b"), "a/b");
    EXPECT_EQ(velk::MergePathComponents("a/", "b"), "a//b");
    EXPECT_EQ(velk::MergePathComponents("", "b"), "/b");
    EXPECT_EQ(velk::MergePathComponents(std::vector<std::string>{"", "usr", "lib"}), "/usr/lib");
}

struct BundleCase {
    std::string path;
    std::string bundle;
};

class BundlePathTest : public ::testing::TestWithParam<BundleCase> {};

TEST_P(BundlePathTest, EndsAtTheFirstComponentContainingApp) {
    EXPECT_EQ(velk::detail::BundlePathOf(GetParam().path), GetParam().bundle);
}

INSTANTIATE_TEST_SUITE_P(
    Path, BundlePathTest,
    ::testing::Values(BundleCase{"/Applications/Reader.app/Contents/Frameworks/libX.dylib",
                                 "/Applications/Reader.app/"},
                      BundleCase{"/usr/lib/libx.so", "/usr/lib/libx.so/"}, BundleCase{"", "/"},
                      BundleCase{"relative//dir/x", "/relative/dir/x/"},
                      BundleCase{"/A.app/B.app/x", "/A.app/"},
                      BundleCase{"/opt/my.application/bin", "/opt/my.application/"}));

TEST(Path, HostApplicationPathComesFromTheFileHoldingThisCode) {
    // These tests link the library into the executable, which holds no bundle.
    std::string const path = velk::GetMacHostApplicationPath();
    EXPECT_EQ(path.front(), '/');
    EXPECT_EQ(path.back(), '/');
    EXPECT_NE(path.find("/foundation_test/"), std::string::npos) << path;
}

}  // namespace
