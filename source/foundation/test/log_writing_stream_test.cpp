#include "velk/log_writing_stream.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "recording_logger.hpp"
#include "velk/logger_callback.hpp"

namespace {

using velk::LogLevel;
using velk::LogWritingStream;
using velk::test::RecordingLogger;

std::vector<std::string> messages(RecordingLogger const& logger) {
    std::vector<std::string> out;
    for (auto const& entry : logger.entries()) {
        out.push_back(entry.message);
    }
    return out;
}

struct FlushCase {
    std::string text;
    std::vector<std::string> messages;
};

class LogWritingStreamFlushTest : public ::testing::TestWithParam<FlushCase> {};

TEST_P(LogWritingStreamFlushTest, EachLineOfAFlushBecomesOneEntry) {
    auto logger = std::make_shared<RecordingLogger>();
    LogWritingStream(logger, LogLevel::Notice, "f.cpp", 9) << GetParam().text << std::flush;
    EXPECT_EQ(messages(*logger), GetParam().messages);
}

INSTANTIATE_TEST_SUITE_P(LogWritingStream, LogWritingStreamFlushTest,
                         ::testing::Values(FlushCase{"abc\r\n", {"abc"}},
                                           FlushCase{"a\nb", {"a", "b"}},
                                           FlushCase{"a\n\nb\n", {"a", "", "b"}},
                                           FlushCase{"a\r\nb\r\n", {"a", "b"}}, FlushCase{"\n", {}},
                                           FlushCase{"\r\n\r\n", {}}, FlushCase{"", {}}));

TEST(LogWritingStream, EntriesCarryLevelThreadFileAndLine) {
    auto logger = std::make_shared<RecordingLogger>();
    LogWritingStream(logger, LogLevel::Error, "card.cpp", 42) << "x=" << 5 << "\ny" << std::endl;
    auto const entries = logger->entries();
    ASSERT_EQ(entries.size(), 2U);
    for (auto const& entry : entries) {
        EXPECT_EQ(entry.level, LogLevel::Error);
        EXPECT_EQ(entry.thread, std::this_thread::get_id());
        EXPECT_EQ(entry.file, "card.cpp");
        EXPECT_EQ(entry.line, 42U);
    }
    EXPECT_EQ(entries[0].message, "x=5");
    EXPECT_EQ(entries[1].message, "y");
}

TEST(LogWritingStream, EveryFlushWritesWhatWasBufferedSinceTheLast) {
    auto logger = std::make_shared<RecordingLogger>();
    LogWritingStream stream(logger, LogLevel::Debug, "f", 1);
    stream << "one" << std::endl << "two" << std::endl;
    stream << std::endl;
    EXPECT_EQ(messages(*logger), (std::vector<std::string>{"one", "two"}));
}

TEST(LogWritingStream, DestructorWritesTextThatWasNeverFlushed) {
    auto logger = std::make_shared<RecordingLogger>();
    { LogWritingStream(logger, LogLevel::Debug, "f", 1) << "pending"; }
    EXPECT_EQ(messages(*logger), (std::vector<std::string>{"pending"}));
}

TEST(LogWritingStream, WithoutALoggerTextIsDroppedAndTheBufferEmptied) {
    LogWritingStream stream(nullptr, LogLevel::Fatal, "f", 1);
    stream << "gone" << std::endl;
    EXPECT_TRUE(stream.good());
    EXPECT_EQ(static_cast<std::stringbuf*>(stream.rdbuf())->str(), "");
}

TEST(LogWritingStream, MovedStreamTakesTheTextAndTheStatement) {
    auto logger = std::make_shared<RecordingLogger>();
    std::unique_ptr<LogWritingStream> moved;
    {
        LogWritingStream original(logger, LogLevel::Warning, "m.cpp", 7);
        original << "begun ";
        moved = std::make_unique<LogWritingStream>(std::move(original));
        // The old stream has neither text nor logger left.
        original << "lost" << std::endl;
    }
    *moved << "and ended" << std::endl;
    auto const entries = logger->entries();
    ASSERT_EQ(entries.size(), 1U);
    EXPECT_EQ(entries[0].message, "begun and ended");
    EXPECT_EQ(entries[0].level, LogLevel::Warning);
    EXPECT_EQ(entries[0].file, "m.cpp");
    EXPECT_EQ(entries[0].line, 7U);
}

TEST(LogWritingStream, ThrowingSinkNeverReachesTheLoggingCode) {
    auto broken = std::make_shared<velk::LoggerCallback>(LogLevel::Trace, nullptr,
                                                         velk::Logger::DefaultEntryFormatter);
    LogWritingStream stream(broken, LogLevel::Error, "f", 1);
    EXPECT_NO_THROW(stream << "a\nb" << std::endl);
    EXPECT_TRUE(stream.bad());
    EXPECT_NO_THROW({ LogWritingStream(broken, LogLevel::Error, "f", 1) << "in destructor"; });
}

TEST(LogWritingStream, DefaultFormatGivesOneLinePerEntry) {
    std::vector<std::string> texts;
    auto logger = std::make_shared<velk::LoggerCallback>(
        LogLevel::Warning, [&](std::string const& text) { texts.push_back(text); },
        velk::Logger::DefaultEntryFormatter);
    LogWritingStream(logger, LogLevel::Warning, "a", 7) << "first\nsecond" << std::endl;
    LogWritingStream(logger, LogLevel::Notice, "a", 8) << "filtered" << std::endl;
    ASSERT_EQ(texts.size(), 2U);
    std::regex const line(
        "\\[\\d\\d:\\d\\d:\\d\\d\\] \\[Warning\\] \\[t:\\d+\\] *\\[a:7\\] {20}: (\\w+)\n");
    std::smatch match;
    ASSERT_TRUE(std::regex_match(texts[0], match, line)) << texts[0];
    EXPECT_EQ(match[1], "first");
    ASSERT_TRUE(std::regex_match(texts[1], match, line)) << texts[1];
    EXPECT_EQ(match[1], "second");
}

}  // namespace
