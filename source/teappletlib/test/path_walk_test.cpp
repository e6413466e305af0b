#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "file_command_bytes.hpp"
#include "simulator_bench.hpp"
#include "teappletlib/interchange/obj/driver/impl/cmd/file_manager_driver_cmd.hpp"
#include "velk/logger.hpp"
#include "velk/logger_callback.hpp"

namespace teappletlib::interchange::obj::driver::impl::cmd {
namespace {

using namespace iso7816::interchange::literals;
using test::ByteVector;
using testsupport::cardsim::CardProfile;

using test::selectFile;

ByteVector const SelectMf = selectFile(0x3F00);

// MF: EF 2001, EF 2002, DF 1000 holding EF 1001.
CardProfile walkProfile() {
    auto profile = CardProfile::standard();
    profile.files.putFile({0x2001}, {0x01});
    profile.files.putFile({0x2002}, {0x02});
    profile.files.putFile({0x1000, 0x1001}, {0x03});
    return profile;
}

// Keeps the warnings logged while it lives.
class WarningLog {
public:
    WarningLog() {
        velk::SetLogger(std::make_shared<velk::LoggerCallback>(
            velk::LogLevel::Warning, [this](std::string const& line) { lines.push_back(line); },
            velk::Logger::BriefEntryFormatter));
    }
    ~WarningLog() { velk::SetLogger(previous_); }

    std::vector<std::string> lines;

private:
    std::shared_ptr<velk::Logger> previous_ = velk::GetLogger();
};

struct WalkCase {
    char const* name;
    AbsoluteFid before;  // walked first, so that the card and the drivers remember it
    AbsoluteFid path;
    bool found;
    std::vector<ByteVector> selects;
};

void PrintTo(WalkCase const& row, std::ostream* os) {
    *os << row.name;
}

class PathWalkTest : public ::testing::TestWithParam<WalkCase> {};

TEST_P(PathWalkTest, SendsOnlyTheSelectsThatDiffer) {
    auto const& row = GetParam();
    test::DriverBench bench(walkProfile());
    FileManagerDriverCmd files(bench.cache, bench.commands.getFileCommands());
    if (!row.before.empty()) {
        ASSERT_TRUE(files.get(row.before)->exists());
        bench.card.clearLog();
    }
    WarningLog warnings;
    EXPECT_EQ(files.get(row.path)->exists(), row.found);
    EXPECT_EQ(bench.sent(), row.selects);
    EXPECT_TRUE(warnings.lines.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Walks, PathWalkTest,
    ::testing::Values(
        WalkCase{"FromNothing",
                 {},
                 {0x1000_fid, 0x1001_fid},
                 true,
                 {SelectMf, selectFile(0x1000), selectFile(0x1001)}},
        WalkCase{"SameFileAgain", {0x1000_fid, 0x1001_fid}, {0x1000_fid, 0x1001_fid}, true, {}},
        WalkCase{"SiblingOfRememberedEf", {0x2001_fid}, {0x2002_fid}, true, {selectFile(0x2002)}},
        WalkCase{"BelowRememberedDf",
                 {0x1000_fid},
                 {0x1000_fid, 0x1001_fid},
                 true,
                 {selectFile(0x1001)}},
        WalkCase{"OutOfRememberedDf",
                 {0x1000_fid, 0x1001_fid},
                 {0x2001_fid},
                 true,
                 {SelectMf, selectFile(0x2001)}},
        WalkCase{"MissingFile",
                 {},
                 {0x1000_fid, 0x1002_fid},
                 false,
                 {SelectMf, selectFile(0x1000), selectFile(0x1002)}},
        WalkCase{"MissingDirectory",
                 {},
                 {0x3000_fid, 0x1001_fid},
                 false,
                 {SelectMf, selectFile(0x3000)}}),
    [](auto const& info) { return std::string(info.param.name); });

TEST(PathWalkThroughEfTest, WarnsAndStopsBeforeTheLastElement) {
    test::DriverBench bench(walkProfile());
    FileManagerDriverCmd files(bench.cache, bench.commands.getFileCommands());
    WarningLog warnings;
    EXPECT_FALSE(files.get({0x2001_fid, 0x1001_fid})->exists());
    EXPECT_EQ(bench.sent(), (std::vector<ByteVector>{SelectMf, selectFile(0x2001)}));
    ASSERT_EQ(warnings.lines.size(), 1u);
    EXPECT_NE(warnings.lines[0].find("Attempted to select non-DF as DF"), std::string::npos);
}

TEST(PathWalkThroughEfTest, FailedSelectKeepsTheLastFileFound) {
    test::DriverBench bench(walkProfile());
    FileManagerDriverCmd files(bench.cache, bench.commands.getFileCommands());
    EXPECT_FALSE(files.get({0x1000_fid, 0x1002_fid})->exists());
    bench.card.clearLog();
    EXPECT_TRUE(files.get({0x1000_fid})->exists());
    EXPECT_TRUE(bench.sent().empty());
}

TEST(SelectedPathCacheTest, NextManagerOnTheSameStorageStartsFromTheSelection) {
    test::DriverBench bench(walkProfile());
    {
        FileManagerDriverCmd files(bench.cache, bench.commands.getFileCommands());
        ASSERT_TRUE(files.get({0x1000_fid, 0x1001_fid})->exists());
    }
    bench.card.clearLog();
    FileManagerDriverCmd files(bench.cache, bench.commands.getFileCommands());
    EXPECT_TRUE(files.get({0x1000_fid, 0x1001_fid})->exists());
    EXPECT_TRUE(bench.sent().empty());
}

}  // namespace
}  // namespace teappletlib::interchange::obj::driver::impl::cmd
