#include "sclib/helpers/event_processor.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <exception>
#include <future>
#include <memory>
#include <optional>
#include <ostream>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "captured_log.hpp"
#include "counting_provider.hpp"
#include "recording_callback.hpp"
#include "sclib/helpers/card_notifier.hpp"
#include "testsupport/cardsim/card_simulator.hpp"
#include "testsupport/readers/fake_provider.hpp"

namespace sclib::test {
namespace {

using helpers::CardNotifier;
using helpers::EventProcessor;
using testsupport::cardsim::CardSimulator;
using testsupport::readers::FakeProvider;

struct FailureCase {
    char const* name;
    bool fromMonitor;  // else the callback's cardInserted throws
    std::exception_ptr error;
    std::string expectedLog;
};

void PrintTo(FailureCase const& row, std::ostream* os) {
    *os << row.name;
}

class EventLoopFailure : public ::testing::TestWithParam<FailureCase> {};

// The failure is logged once at Error level, the loop goes on and delivers the next event, and
// every callback runs on the one event thread.
TEST_P(EventLoopFailure, IsLoggedAndTheLoopGoesOn) {
    auto const& param = GetParam();
    CapturedLog log;
    FakeProvider provider;
    provider.addReader("A");
    RecordingCallback callback;
    std::atomic<bool> thrown{false};
    if (!param.fromMonitor) {
        callback.setHook([&](std::string const& event, std::shared_ptr<Reader> const&) {
            if (event == "inserted:A" && !thrown.exchange(true)) {
                std::rethrow_exception(param.error);
            }
        });
    }
    auto notifier = CardNotifier::Create(provider, callback);
    EventProcessor events(provider);
    events.start();

    if (param.fromMonitor) {
        provider.throwOnNextProcess(param.error);
    }
    provider.insertCard("A", std::make_shared<CardSimulator>());
    ASSERT_TRUE(log.waitForLines(1));
    ASSERT_TRUE(callback.waitForEvents(1));
    provider.removeCard("A");
    ASSERT_TRUE(callback.waitForEvents(2));
    events.stop();

    EXPECT_EQ(log.lines(), std::vector<std::string>{param.expectedLog});
    EXPECT_EQ(callback.events(), (std::vector<std::string>{"inserted:A", "removed:A"}));
    auto const threads = callback.threads();
    EXPECT_EQ(std::set<std::thread::id>(threads.begin(), threads.end()).size(), 1u);
    EXPECT_NE(threads.front(), std::this_thread::get_id());
}

INSTANTIATE_TEST_SUITE_P(
    Events, EventLoopFailure,
    ::testing::Values(
        FailureCase{"StdExceptionFromCallback", false,
                    std::make_exception_ptr(std::runtime_error("card went away")),
                    "Error: Exception during event processing: card went away\n"},
        FailureCase{"NonStandardFromCallback", false, std::make_exception_ptr(42),
                    "Error: Unknown except during event processing\n"},
        FailureCase{"StdExceptionFromMonitor", true,
                    std::make_exception_ptr(std::logic_error("Invalid slot state: 7")),
                    "Error: Exception during event processing: Invalid slot state: 7\n"},
        FailureCase{"NonStandardFromMonitor", true, std::make_exception_ptr(std::string("x")),
                    "Error: Unknown except during event processing\n"}),
    [](auto const& info) { return std::string(info.param.name); });

TEST(EventProcessor, StopJoinsAndStartRunsAgain) {
    CountingProvider provider;
    EventProcessor events(provider);
    // Holds the second pass until set; destroyed first, so a failed test cannot leave the worker
    // waiting for ever.
    std::promise<void> gate;
    provider.onPass = [entrance = gate.get_future().share()](std::size_t pass) {
        if (pass == 2) {
            entrance.wait();
        }
        return false;
    };
    events.stop();  // never started: nothing to join
    EXPECT_FALSE(events.isStarted());

    events.start();
    events.start();  // does nothing while started
    EXPECT_TRUE(events.isStarted());
    ASSERT_TRUE(provider.waitForPasses(2));
    auto stopping = std::async(std::launch::async, [&] { events.stop(); });
    EXPECT_EQ(stopping.wait_for(std::chrono::milliseconds(50)), std::future_status::timeout);
    gate.set_value();
    ASSERT_EQ(stopping.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_FALSE(events.isStarted());
    EXPECT_EQ(provider.passes(), 2u);  // the loop saw the flag after the held pass
    EXPECT_EQ(provider.threadCount(), 1u);

    events.start();
    EXPECT_TRUE(events.isStarted());
    EXPECT_TRUE(provider.waitForPasses(3));
}  // the destructor stops and joins the second worker

// Passes that fired follow at once; idle passes are at least 10 ms apart.
TEST(EventProcessor, SleepsOnlyWhenIdle) {
    CountingProvider provider;
    provider.onPass = [](std::size_t pass) { return pass <= 100; };
    EventProcessor events(provider);
    events.start();
    ASSERT_TRUE(provider.waitForPasses(104));
    events.stop();

    auto const starts = provider.starts();
    // 100 sleeping passes would take a second.
    EXPECT_LT(starts[99] - starts[0], std::chrono::milliseconds(500));
    for (std::size_t pass = 101; pass < 104; ++pass) {
        EXPECT_GE(starts[pass] - starts[pass - 1], std::chrono::milliseconds(10)) << pass;
    }
}

// A callback on the event thread may end the loop; it must not wait for its own thread. The
// owner's next start joins the ended loop and runs a new one.
TEST(EventProcessor, StopFromTheEventThreadEndsTheLoop) {
    CountingProvider provider;
    EventProcessor events(provider);
    std::atomic<bool> startedAfterStop{true};
    provider.onPass = [&](std::size_t pass) {
        if (pass == 1) {
            events.stop();
            startedAfterStop = events.isStarted();
        }
        return true;  // no sleep: a loop that went on would pass again at once
    };
    events.start();
    ASSERT_TRUE(provider.waitForPasses(1));
    EXPECT_FALSE(provider.waitForPasses(2, std::chrono::milliseconds(100)));
    EXPECT_FALSE(startedAfterStop);
    EXPECT_FALSE(events.isStarted());

    events.start();
    EXPECT_TRUE(events.isStarted());
    EXPECT_TRUE(provider.waitForPasses(2));
}

// The owner of the processor may drop it from a callback (events stopped from a card handler).
TEST(EventProcessor, DestroyedByItsOwnCallbackWithoutAbort) {
    CountingProvider provider;
    std::optional<EventProcessor> events(std::in_place, provider);
    std::promise<void> destroyed;
    provider.onPass = [&](std::size_t pass) {
        if (pass == 1) {
            events.reset();
            destroyed.set_value();
        }
        return true;
    };
    events->start();
    ASSERT_EQ(destroyed.get_future().wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_FALSE(provider.waitForPasses(2, std::chrono::milliseconds(100)));

    EventProcessor again(provider);
    again.start();
    EXPECT_TRUE(again.isStarted());
    EXPECT_TRUE(provider.waitForPasses(2));
}

// While the owner stops the loop, a callback may still ask whether it runs and start it: the
// owner holds nothing they need while it waits for the thread.
TEST(EventProcessor, CallbackMayAskAndStartWhileTheOwnerStops) {
    CountingProvider provider;
    EventProcessor events(provider);
    std::promise<void> inFirstPass;
    std::atomic<bool> sawStopping{false};
    provider.onPass = [&](std::size_t pass) {
        if (pass == 1) {
            inFirstPass.set_value();
            auto const deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
            while (events.isStarted() && std::chrono::steady_clock::now() < deadline) {
                std::this_thread::yield();
            }
            sawStopping = !events.isStarted();
            events.start();
        }
        return false;
    };
    events.start();
    ASSERT_EQ(inFirstPass.get_future().wait_for(std::chrono::seconds(5)),
              std::future_status::ready);
    auto stopping = std::async(std::launch::async, [&] { events.stop(); });
    ASSERT_EQ(stopping.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_TRUE(sawStopping);
    // That start came after the stop had begun: a new loop runs; the destructor joins it.
    EXPECT_TRUE(events.isStarted());
    EXPECT_TRUE(provider.waitForPasses(2));
}

}  // namespace
}  // namespace sclib::test
