#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "recording_logger.hpp"
#include "velk/log_writing_stream.hpp"
#include "velk/logger.hpp"

namespace {

using velk::LogLevel;
using velk::test::RecordingLogger;

// Counts its writes and destructions, and notes any write that reaches it once destroyed.
class TrackedLogger : public velk::Logger {
public:
    struct Counters {
        std::atomic<int> created{0};
        std::atomic<int> destroyed{0};
        std::atomic<int> written{0};
        std::atomic<int> writtenAfterDestruction{0};
    };

    explicit TrackedLogger(Counters& counters)
        : Logger(&Logger::BriefEntryFormatter), counters_(counters) {
        ++counters_.created;
    }
    ~TrackedLogger() override {
        alive_ = false;
        ++counters_.destroyed;
    }

protected:
    void WriteNoLock(Entry const&) override {
        if (!alive_) {
            ++counters_.writtenAfterDestruction;
        }
        ++counters_.written;
    }

private:
    Counters& counters_;
    std::atomic<bool> alive_{true};
};

// Leaves no logger installed for the next test; the counters outlive every logger.
class GlobalLogger : public ::testing::Test {
protected:
    ~GlobalLogger() override { velk::SetLogger(nullptr); }

    TrackedLogger::Counters counters;
};

void logOnce(int i) {
    velk::LogWritingStream(velk::GetLogger(), LogLevel::Warning, "race.cpp", 1)
        << "entry " << i << "\nsecond line" << std::endl;
}

TEST_F(GlobalLogger, NoLoggerAtFirstAndStatementsAreDiscarded) {
    EXPECT_EQ(velk::GetLogger(), nullptr);
    EXPECT_NO_THROW(logOnce(0));
}

TEST_F(GlobalLogger, InstalledLoggerReceivesStatementsUntilReplaced) {
    auto first = std::make_shared<RecordingLogger>();
    auto second = std::make_shared<RecordingLogger>();
    velk::SetLogger(first);
    EXPECT_EQ(velk::GetLogger(), first);
    logOnce(1);
    velk::SetLogger(second);
    logOnce(2);
    velk::SetLogger(nullptr);
    logOnce(3);
    EXPECT_EQ(first->entries().size(), 2U);
    EXPECT_EQ(second->entries().size(), 2U);
}

TEST_F(GlobalLogger, ReplacementDestroysTheOldLoggerOnce) {
    velk::SetLogger(std::make_unique<TrackedLogger>(counters));
    velk::SetLogger(std::make_unique<TrackedLogger>(counters));
    EXPECT_EQ(counters.destroyed, 1);
    velk::SetLogger(nullptr);
    EXPECT_EQ(counters.destroyed, 2);
}

TEST_F(GlobalLogger, ReinstallingTheCurrentLoggerKeepsIt) {
    velk::SetLogger(std::make_unique<TrackedLogger>(counters));
    velk::SetLogger(velk::GetLogger());
    EXPECT_EQ(counters.destroyed, 0);
    logOnce(1);
    EXPECT_EQ(counters.written, 2);
}

TEST_F(GlobalLogger, StatementKeepsItsLoggerAliveWhileItIsReplaced) {
    velk::SetLogger(std::make_unique<TrackedLogger>(counters));
    {
        velk::LogWritingStream stream(velk::GetLogger(), LogLevel::Error, "f", 1);
        velk::SetLogger(nullptr);
        EXPECT_EQ(counters.destroyed, 0);
        stream << "late" << std::endl;
    }
    EXPECT_EQ(counters.written, 1);
    EXPECT_EQ(counters.destroyed, 1);
    EXPECT_EQ(counters.writtenAfterDestruction, 0);
}

TEST_F(GlobalLogger, ReplacingWhileOtherThreadsLogNeverUsesADeadLogger) {
    constexpr int Writers = 4;
    constexpr int Replacements = 3000;
    std::atomic<bool> stop{false};
    std::atomic<int> started{0};
    std::vector<std::thread> writers;
    for (int w = 0; w < Writers; ++w) {
        writers.emplace_back([&] {
            ++started;
            for (int i = 0; !stop; ++i) {
                logOnce(i);
            }
        });
    }
    while (started < Writers) {
        std::this_thread::yield();
    }
    for (int r = 0; r < Replacements; ++r) {
        switch (r % 3) {
            case 0:
                velk::SetLogger(std::make_unique<TrackedLogger>(counters));
                break;
            case 1:
                velk::SetLogger(velk::GetLogger());
                break;
            default:
                velk::SetLogger(nullptr);
                break;
        }
    }
    velk::SetLogger(std::make_unique<TrackedLogger>(counters));
    int const seen = counters.written;
    auto const deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (counters.written == seen && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::yield();
    }
    stop = true;
    for (auto& writer : writers) {
        writer.join();
    }
    velk::SetLogger(nullptr);

    EXPECT_EQ(counters.writtenAfterDestruction, 0);
    EXPECT_EQ(counters.created, Replacements / 3 + 1);
    EXPECT_EQ(counters.destroyed, counters.created.load());
    EXPECT_GT(counters.written, 0);
}

}  // namespace
