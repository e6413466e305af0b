#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "recording_logger.hpp"
#include "velk/logger_callback.hpp"
#include "velk/logger_file.hpp"
#include "velk/logger_multiple.hpp"
#include "velk/logger_stream.hpp"

namespace {

using velk::Logger;
using velk::LogLevel;
using velk::test::messageOnly;
using velk::test::RecordingLogger;

Logger::Entry entryAt(LogLevel level, std::string const& message) {
    return {level, std::this_thread::get_id(), "file.cpp", 3, message};
}

std::string readFile(std::filesystem::path const& path) {
    std::ifstream file(path);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "velk-log-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("mkdtemp failed");
        }
        path_ = pattern;
    }
    ~TempDir() { std::filesystem::remove_all(path_); }
    std::filesystem::path const& path() const { return path_; }

private:
    std::filesystem::path path_;
};

TEST(LoggerMinLevel, DropsEntriesBelowTheMinimum) {
    std::vector<std::string> texts;
    velk::LoggerCallback logger(
        LogLevel::Warning, [&](std::string const& text) { texts.push_back(text); }, messageOnly);
    for (int level = -1; level <= 6; ++level) {
        logger.Write(entryAt(static_cast<LogLevel>(level), std::to_string(level)));
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"3\n", "4\n", "5\n", "6\n"}));
}

TEST(LoggerMinLevel, MinimumBelowTheScaleLetsUnknownLevelsPass) {
    std::ostringstream os;
    velk::LoggerStream logger(static_cast<LogLevel>(-1), os, velk::Logger::BriefEntryFormatter);
    logger.Write(entryAt(static_cast<LogLevel>(-1), "odd"));
    EXPECT_NE(os.str().find("] [Unknown]: odd\n"), std::string::npos) << os.str();
}

TEST(LoggerCallback, PassesEachFormattedEntryWithItsNewline) {
    std::vector<std::string> texts;
    velk::LoggerCallback logger(
        LogLevel::Trace, [&](std::string const& text) { texts.push_back(text); },
        velk::Logger::DefaultEntryFormatter);
    logger.Write(entryAt(LogLevel::Error, "one"));
    logger.Write(entryAt(LogLevel::Trace, "two"));
    ASSERT_EQ(texts.size(), 2U);
    EXPECT_EQ(texts[0].substr(texts[0].size() - 6), ": one\n");
    EXPECT_NE(texts[1].find("[Trace]"), std::string::npos);
}

TEST(LoggerCallback, EmptyCallbackOrFormatterThrowsBadFunctionCall) {
    velk::LoggerCallback noCallback(LogLevel::Trace, nullptr, messageOnly);
    EXPECT_THROW(noCallback.Write(entryAt(LogLevel::Error, "x")), std::bad_function_call);
    velk::LoggerCallback noFormatter(
        LogLevel::Trace, [](std::string const&) {}, nullptr);
    EXPECT_THROW(noFormatter.Write(entryAt(LogLevel::Error, "x")), std::bad_function_call);
    // The mutex was released on the way out.
    noFormatter.SetFormatter(messageOnly);
    EXPECT_NO_THROW(noFormatter.Write(entryAt(LogLevel::Error, "x")));
}

TEST(LoggerStream, WritesToTheCallersStreamWithTheCurrentFormatter) {
    std::ostringstream os;
    velk::LoggerStream logger(LogLevel::Notice, os, messageOnly);
    logger.Write(entryAt(LogLevel::Notice, "a"));
    logger.SetFormatter(
        [](std::ostream& out, Logger::Entry const& e) { out << '<' << e.line << '>'; });
    logger.Write(entryAt(LogLevel::Fatal, "b"));
    logger.Write(entryAt(LogLevel::Debug, "c"));
    EXPECT_EQ(os.str(), "a\n<3>");
}

TEST(LoggerFile, AppendsEachEntryToTheFile) {
    TempDir dir;
    auto const path = dir.path() / "log.txt";
    { std::ofstream(path) << "existing\n"; }
    velk::LoggerFile logger(LogLevel::Debug, path.string(), messageOnly);
    logger.Write(entryAt(LogLevel::Debug, "first"));
    logger.Write(entryAt(LogLevel::Trace, "dropped"));
    // No handle stays open: the file is complete after each entry.
    EXPECT_EQ(readFile(path), "existing\nfirst\n");
    logger.Write(entryAt(LogLevel::Error, "second"));
    EXPECT_EQ(readFile(path), "existing\nfirst\nsecond\n");
}

TEST(LoggerFile, CreatesAMissingFile) {
    TempDir dir;
    auto const path = dir.path() / "new.log";
    velk::LoggerFile logger(LogLevel::Trace, path.string(), messageOnly);
    logger.Write(entryAt(LogLevel::Notice, "hi"));
    EXPECT_EQ(readFile(path), "hi\n");
}

TEST(LoggerFile, UnopenablePathLosesTheEntrySilently) {
    TempDir dir;
    auto const path = dir.path() / "missing-dir" / "x.log";
    velk::LoggerFile logger(LogLevel::Trace, path.string(), messageOnly);
    EXPECT_NO_THROW(logger.Write(entryAt(LogLevel::Fatal, "lost")));
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(LoggerMultiple, EveryMemberGetsTheEntryAndFiltersForItself) {
    std::ostringstream all;
    std::ostringstream errors;
    auto recording = std::make_shared<RecordingLogger>();
    velk::LoggerMultiple logger;
    logger.Add(std::make_shared<velk::LoggerStream>(LogLevel::Trace, all, messageOnly));
    logger.Add(std::make_shared<velk::LoggerStream>(LogLevel::Error, errors, messageOnly));
    logger.Add(recording);
    logger.Add(recording);
    logger.Add(nullptr);
    logger.Write(entryAt(LogLevel::Debug, "d"));
    logger.Write(entryAt(LogLevel::Error, "e"));
    EXPECT_EQ(all.str(), "d\ne\n");
    EXPECT_EQ(errors.str(), "e\n");
    // Added twice, kept once.
    EXPECT_EQ(recording->entries().size(), 2U);
}

TEST(LoggerMultiple, AThrowingMemberStopsTheEntry) {
    velk::LoggerMultiple logger;
    auto broken = std::make_shared<velk::LoggerCallback>(LogLevel::Trace, nullptr, messageOnly);
    auto recording = std::make_shared<RecordingLogger>();
    logger.Add(broken);
    logger.Add(recording);
    EXPECT_THROW(logger.Write(entryAt(LogLevel::Error, "x")), std::bad_function_call);
    // Members are visited in pointer order: the recorder saw the entry only if it came first.
    std::size_t const expected = std::less<Logger*>()(recording.get(), broken.get()) ? 1 : 0;
    EXPECT_EQ(recording->entries().size(), expected);
    // Both mutexes were released.
    EXPECT_THROW(logger.Write(entryAt(LogLevel::Error, "y")), std::bad_function_call);
}

}  // namespace
