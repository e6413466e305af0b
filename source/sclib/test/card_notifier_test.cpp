#include "sclib/helpers/card_notifier.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "recording_callback.hpp"
#include "testsupport/cardsim/card_simulator.hpp"
#include "testsupport/readers/fake_provider.hpp"

namespace sclib::test {
namespace {

using helpers::CardNotifier;
using testsupport::cardsim::CardSimulator;
using testsupport::readers::FakeProvider;

// A step of a sequence: "+A" / "-A" add or remove reader A, "iA" / "rA" insert or remove its
// card, "new" / "drop" create or destroy the notifier, "once" one pass that must fire, "pumpN"
// pumping until idle, of which N passes fire.
using Step = std::string;

struct SequenceCase {
    char const* name;
    std::vector<Step> steps;
    std::vector<std::string> expected;  // the callback's calls, in order
    std::size_t monitorsLeft;           // live monitors of the provider at the end
};

void PrintTo(SequenceCase const& row, std::ostream* os) {
    *os << row.name;
}

class CardNotifierSequence : public ::testing::TestWithParam<SequenceCase> {};

TEST_P(CardNotifierSequence, GivesTheCallbackExactlyTheseCalls) {
    FakeProvider provider;
    RecordingCallback callback;
    std::shared_ptr<CardNotifier> notifier;

    for (auto const& step : GetParam().steps) {
        auto const reader = step.substr(1);
        if (step[0] == '+') {
            provider.addReader(reader);
        } else if (step[0] == '-') {
            provider.removeReader(reader);
        } else if (step[0] == 'i') {
            provider.insertCard(reader, std::make_shared<CardSimulator>());
        } else if (step[0] == 'r') {
            provider.removeCard(reader);
        } else if (step == "new") {
            notifier = CardNotifier::Create(provider, callback);
        } else if (step == "drop") {
            notifier.reset();
        } else if (step == "once") {
            EXPECT_TRUE(provider.ProcessEvents());
        } else {
            ASSERT_EQ(step.substr(0, 4), "pump");
            EXPECT_EQ(provider.pumpUntilIdle(), std::stoul(step.substr(4))) << step;
        }
    }
    EXPECT_EQ(callback.events(), GetParam().expected);
    EXPECT_EQ(provider.liveMonitorCount(), GetParam().monitorsLeft);
}

// Pumped on the test thread, so each step's events have all fired before the next step.
INSTANTIATE_TEST_SUITE_P(
    Events, CardNotifierSequence,
    ::testing::Values(
        // Pass 1: reader-added (handler made and started); pass 2: card-inserted.
        SequenceCase{"ReaderWithCardAtStart", {"+A", "iA", "new", "pump2"}, {"inserted:A"}, 2},
        SequenceCase{"EmptyReaderAtStartThenCardComesAndGoes",
                     {"+A", "new", "pump1", "iA", "pump1", "rA", "pump1"},
                     {"inserted:A", "removed:A"},
                     2},
        // The reader monitor only says unavailable; the notifier makes the removal up, once.
        SequenceCase{"ReaderRemovedWithItsCardIn",
                     {"+A", "iA", "new", "pump2", "-A", "pump1"},
                     {"inserted:A", "removed:A"},
                     1},
        SequenceCase{"ReaderRemovedAfterItsCard",
                     {"+A", "iA", "new", "pump2", "rA", "pump1", "-A", "pump1"},
                     {"inserted:A", "removed:A"},
                     1},
        // Removal queued while the reader monitor still had the insertion to report: the
        // system monitor, registered first, wins the pass and the handler goes unheard.
        SequenceCase{"ReaderGoneBeforeItsCardWasReported",
                     {"+A", "iA", "new", "once", "-A", "pump1"},
                     {},
                     1},
        SequenceCase{"ReaderReaddedGetsANewHandler",
                     {"+A", "iA", "new", "pump2", "-A", "+A", "iA", "pump2"},
                     {"inserted:A", "removed:A", "inserted:A"},
                     2},
        SequenceCase{"OnlyTheReaderWithACardReports",
                     {"+A", "+B", "iB", "new", "pump2", "-A", "pump1"},
                     {"inserted:B"},
                     2},
        SequenceCase{"DestroyedNotifierReceivesNothing",
                     {"+A", "iA", "new", "pump2", "drop", "rA", "iA", "+B", "iB", "-A", "pump0"},
                     {"inserted:A"},
                     0},
        SequenceCase{
            "NotifierDroppedBeforeItsFirstPump", {"+A", "iA", "new", "drop", "pump0"}, {}, 0}),
    [](auto const& info) { return std::string(info.param.name); });

// The made-up removal runs after the notifier's mutex is released, so a callback may call back
// into the notifier without deadlock.
TEST(CardNotifier, CallbackMayReenterTheNotifierDuringAReaderRemoval) {
    FakeProvider provider;
    RecordingCallback callback;
    auto notifier = CardNotifier::Create(provider, callback);
    auto const b = provider.addReader("B");
    provider.addReader("A");
    provider.insertCard("A", std::make_shared<CardSimulator>());
    provider.pumpUntilIdle();

    callback.setHook([&](std::string const& event, std::shared_ptr<Reader> const&) {
        if (event == "removed:A") {
            notifier->handleReaderRemove(b);  // takes the notifier's mutex
        }
    });
    provider.removeReader("A");
    provider.pumpUntilIdle();

    EXPECT_EQ(callback.events(), (std::vector<std::string>{"inserted:A", "removed:A"}));
    EXPECT_EQ(provider.liveMonitorCount(), 1u);  // the system monitor; A's and B's are gone
}

// A throwing cardRemoved reaches the pump; the reader's handler is gone all the same, so a
// later card-removed signal of that reader reaches no one.
TEST(CardNotifier, ThrowingRemovalCallbackStillDropsTheHandler) {
    FakeProvider provider;
    RecordingCallback callback;
    auto notifier = CardNotifier::Create(provider, callback);
    provider.addReader("A");
    provider.insertCard("A", std::make_shared<CardSimulator>());
    provider.pumpUntilIdle();
    callback.setHook([](std::string const& event, std::shared_ptr<Reader> const&) {
        if (event == "removed:A") {
            throw std::runtime_error("callback failed");
        }
    });

    provider.removeReader("A");
    EXPECT_THROW(provider.ProcessEvents(), std::runtime_error);

    EXPECT_EQ(provider.liveMonitorCount(), 1u);
    EXPECT_EQ(provider.pumpUntilIdle(), 0u);
}

}  // namespace
}  // namespace sclib::test
