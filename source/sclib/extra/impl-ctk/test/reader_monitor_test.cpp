#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <boost/signals2/connection.hpp>

#include "ctkwrapper/errors.hpp"
#include "sclib/impl/ctk/provider.hpp"
#include "sclib/impl/ctk/reader_monitor.hpp"
#include "service_test.hpp"

namespace sclib::impl::ctk {
namespace {

using Signals = std::vector<std::string>;
namespace memory = cardservice::memory;

char const* const ReaderName = "Reader 1";

struct StateCase {
    char const* name;
    bool cardAtStart;
    // What happens to the reader after the monitor has started.
    std::vector<std::function<void()>> steps;
    Signals fired;
};

void insert() {
    memory::insertCard(ReaderName, std::make_shared<testsupport::cardsim::CardSimulator>());
}
void remove() {
    memory::removeCard(ReaderName);
}
void reset() {
    memory::resetCard(ReaderName);
}
void mute() {
    memory::muteCard(ReaderName);
}
void report(std::int64_t state) {
    memory::reportState(ReaderName, state);
}
void removeReader() {
    memory::removeReader(ReaderName);
}

void PrintTo(StateCase const& c, std::ostream* os) {
    *os << c.name;
}

class SlotStateTest : public test::ServiceTest, public ::testing::WithParamInterface<StateCase> {
protected:
    std::shared_ptr<ReaderMonitor> createMonitor() {
        auto reader = GetProvider().GetReaderByName(ReaderName);
        return std::dynamic_pointer_cast<ReaderMonitor>(
            GetProvider().CreateReaderMonitor(std::move(reader)));
    }
};

TEST_P(SlotStateTest, SignalsFollowTheSlotStates) {
    auto const& param = GetParam();
    memory::addReader(ReaderName);
    if (param.cardAtStart) {
        insert();
    }
    auto const monitor = createMonitor();
    test::SignalRecord record(*monitor);
    monitor->Start();
    for (auto const& step : param.steps) {
        step();
    }
    while (monitor->Process()) {
    }
    EXPECT_EQ(record.take(), param.fired);
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, SlotStateTest,
    ::testing::Values(
        StateCase{"EmptyReader", false, {}, {}},
        StateCase{"CardPresentAtStart", true, {}, {"inserted"}},
        StateCase{"Insert", false, {insert}, {"inserted"}},
        StateCase{
            "InsertResetRemove", false, {insert, reset, remove}, {"inserted", "reset", "removed"}},
        StateCase{"QuickResetsEachCount", true, {reset, reset}, {"inserted", "reset", "reset"}},
        StateCase{"ResetThenMute", true, {reset, mute}, {"inserted", "reset", "mute"}},
        StateCase{"MuteCardRemoved", true, {mute, remove}, {"inserted", "mute", "removed"}},
        StateCase{
            "MuteCardResetIsInsertedAgain", true, {mute, reset}, {"inserted", "mute", "inserted"}},
        StateCase{"ProbingWhileEmpty", false, {[] { report(2); }}, {}},
        StateCase{"ProbingWhileMute", true, {mute, [] { report(2); }}, {"inserted", "mute"}},
        StateCase{"ReaderRemovedWithCard", true, {removeReader}, {"inserted", "unavailable"}},
        StateCase{"ReaderRemovedWhileEmpty", false, {removeReader}, {"unavailable"}},
        StateCase{"MissingIsFinal",
                  true,
                  {[] { report(0); }, remove, insert, reset},
                  {"inserted", "unavailable"}}),
    [](auto const& info) { return std::string(info.param.name); });

class ReaderMonitorTest : public test::ServiceTest {
protected:
    void SetUp() override {
        test::ServiceTest::SetUp();
        memory::addReader(ReaderName);
        reader = GetProvider().GetReaderByName(ReaderName);
        monitor =
            std::dynamic_pointer_cast<ReaderMonitor>(GetProvider().CreateReaderMonitor(reader));
        record.emplace(*monitor);
    }

    std::shared_ptr<sclib::Reader> reader;
    std::shared_ptr<ReaderMonitor> monitor;
    std::optional<test::SignalRecord> record;
};

TEST_F(ReaderMonitorTest, CardPresentAtStartIsReportedByTheFirstPumpOnly) {
    insertCard(ReaderName);
    monitor->Start();
    EXPECT_TRUE(monitor->Process());
    EXPECT_EQ(record->take(), Signals{"inserted"});
    EXPECT_FALSE(monitor->Process());
}

// A card that keeps coming and going while its events are fired: the pass ends with what was
// queued when it began, so the pumping thread can be stopped between events.
TEST_F(ReaderMonitorTest, APassFiresOnlyWhatWasQueuedWhenItBegan) {
    int inserted = 0;
    boost::signals2::scoped_connection const flapping =
        monitor->cardInserted().connect([&](std::shared_ptr<sclib::Reader> const&) {
            if (++inserted < 50) {
                remove();
                insert();
            }
        });
    monitor->Start();
    insert();
    EXPECT_TRUE(monitor->Process());
    EXPECT_EQ(inserted, 1);
    EXPECT_EQ(record->take(), Signals{"inserted"});
    EXPECT_TRUE(monitor->Process());
    EXPECT_EQ(record->take(), (Signals{"removed", "inserted"}));
}

TEST_F(ReaderMonitorTest, StoppedMonitorFiresNothing) {
    EXPECT_FALSE(monitor->Process());
    insertCard(ReaderName);
    monitor->Start();
    monitor->Stop();
    EXPECT_FALSE(monitor->Process());
    EXPECT_EQ(record->take(), Signals{});
}

TEST_F(ReaderMonitorTest, StartForAReaderThatHasGoneGivesUnavailableOnce) {
    memory::removeReader(ReaderName);
    monitor->Start();
    EXPECT_TRUE(monitor->Process());
    EXPECT_FALSE(monitor->Process());
    EXPECT_EQ(record->take(), Signals{"unavailable"});
}

TEST_F(ReaderMonitorTest, InvalidStateIsRethrownOnceByTheNextPump) {
    test::LogCapture log;
    insertCard(ReaderName);
    monitor->Start();
    report(7);
    try {
        monitor->Process();
        FAIL() << "no exception";
    } catch (ctkwrapper::UnexpectedCtkError const& e) {
        EXPECT_STREQ(e.what(), "Invalid slot state: 7");
    }
    // The events queued before the failure are still delivered.
    EXPECT_TRUE(monitor->Process());
    EXPECT_EQ(record->take(), Signals{"inserted"});
    EXPECT_FALSE(monitor->Process());
    EXPECT_EQ(log.messages(), Signals{"Slot state still unreadable: Invalid slot state: 7"});
}

TEST_F(ReaderMonitorTest, UpdatesWhileAFailureIsPendingWaitForItAndAreNotLost) {
    test::LogCapture log;
    insertCard(ReaderName);
    monitor->Start();
    monitor->Process();
    record->take();

    report(-1);
    // The card is swapped while the failure waits for the pump.
    memory::removeCard(ReaderName);
    insertCard(ReaderName);
    EXPECT_EQ(log.messages(), Signals(3, "Not updating slot state due to pending exceptions"));

    EXPECT_THROW(monitor->Process(), ctkwrapper::UnexpectedCtkError);
    EXPECT_TRUE(monitor->Process());
    EXPECT_EQ(record->take(), (Signals{"removed", "inserted"}));
    EXPECT_NO_THROW(monitor->Process());
}

}  // namespace
}  // namespace sclib::impl::ctk
