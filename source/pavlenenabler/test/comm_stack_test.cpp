#include "pavlenenabler/enabler/comm_stack.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

#include "card_bench.hpp"
#include "enabler_recorder.hpp"
#include "iso7816/interchange/exceptions.hpp"
#include "pavlenenabler/enabler/log_callback.hpp"
#include "sclib/exceptions.hpp"
#include "teappletlib/interchange/auth_object_id.hpp"
#include "velk/exceptions.hpp"

namespace pavlenenabler::test {
namespace {

using enabler::CommStack;
using teappletlib::interchange::AuthObjectId;
using teappletlib::interchange::cmd::CommandProvider;

// A command that every test card answers: the PIN's retry counter.
void askTries(CommandProvider& commands) {
    commands.getAccessControlCommands().getRetryCounter(AuthObjectId{3});
}

// A stack over a simulated card.
struct StackBench {
    explicit StackBench(CardProfile profile = CardProfile::standard())
        : simulator(std::make_shared<CardSimulator>(std::move(profile))) {
        auto smartcard = std::make_unique<testsupport::readers::SimulatedSmartcard>(simulator);
        connection = smartcard.get();
        stack = std::make_unique<CommStack>(std::move(smartcard), ignoreLatency);
    }

    std::vector<ByteVector> sent() { return takeCommands(*simulator); }

    static void ignoreLatency(iso7816::interchange::Apdu const&,
                              iso7816::interchange::ApduResponse const&,
                              std::chrono::milliseconds const&) {}

    std::shared_ptr<CardSimulator> simulator;
    testsupport::readers::SimulatedSmartcard* connection;
    std::unique_ptr<CommStack> stack;
};

struct ChannelCase {
    char const* name;
    std::uint8_t channelCount;
    std::uint8_t channel;
    // What the second operation sends before its own command.
    std::vector<ByteVector> secondPreamble;
};

class ChannelTest : public ::testing::TestWithParam<ChannelCase> {};

TEST_P(ChannelTest, ChannelIsOpenedOnceAndTheAppletSelectedWhereTheSelectionMayBeLost) {
    auto profile = CardProfile::standard();
    profile.channelCount = GetParam().channelCount;
    StackBench bench(profile);
    std::uint8_t const cla = GetParam().channel;
    EXPECT_FALSE(bench.stack->getChannelId());

    bench.stack->perform(askTries);
    EXPECT_EQ(bench.sent(),
              (std::vector<ByteVector>{openChannel(), selectApplet(cla), retryCounter(cla)}));
    bench.stack->perform(askTries);
    EXPECT_EQ(bench.sent(),
              concat(GetParam().secondPreamble, std::vector<ByteVector>{retryCounter(cla)}));
    ASSERT_TRUE(bench.stack->getChannelId());
    EXPECT_EQ(bench.stack->getChannelId()->GetValue(), cla);
}

INSTANTIATE_TEST_SUITE_P(Cards, ChannelTest,
                         ::testing::Values(ChannelCase{"LogicalChannelGranted", 4, 1, {}},
                                           ChannelCase{"NoFreeChannel", 1, 0, {selectApplet(0)}}),
                         [](auto const& info) { return std::string(info.param.name); });

TEST(CommStackTest, ResetOpensAndSelectsAgainAndWarnsOnce) {
    StackBench bench;
    bench.stack->perform(askTries);
    bench.sent();
    EnablerRecorder user;
    enabler::LogCallback log(user);

    bench.connection->reset();
    bench.stack->perform(askTries);
    EXPECT_EQ(bench.sent(),
              (std::vector<ByteVector>{openChannel(), selectApplet(1), retryCounter(1)}));
    bench.stack->perform(askTries);
    EXPECT_EQ(bench.sent(), (std::vector<ByteVector>{retryCounter(1)}));
    EXPECT_EQ(user.texts("Smartcard was reset").size(), 1u);
}

TEST(CommStackTest, OperationThatThrowsLeavesTheStackUsable) {
    StackBench bench;
    EXPECT_THROW(bench.stack->perform([](CommandProvider& commands) {
        askTries(commands);
        throw std::runtime_error("operation failed");
    }),
                 std::runtime_error);
    bench.sent();

    bench.stack->perform(askTries);
    EXPECT_EQ(bench.sent(), (std::vector<ByteVector>{retryCounter(1)}));
}

TEST(CommStackTest, AbsentAppletFailsWithoutCallingTheOperationAndIsLookedForAgain) {
    auto profile = CardProfile::standard();
    profile.appletPresent = false;
    StackBench bench(profile);
    bool called = false;
    auto const operation = [&called](CommandProvider&) { called = true; };

    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            bench.stack->perform(operation);
            ADD_FAILURE() << "no applet, yet the operation ran";
        } catch (velk::secure_elt_err::FileNotFound const& e) {
            EXPECT_STREQ(e.what(), "No Tessaro applet available");
        }
    }
    EXPECT_FALSE(called);
    auto const sent = bench.sent();
    EXPECT_EQ(sent, (std::vector<ByteVector>{openChannel(), selectApplet(1), selectApplet(1)}));
}

TEST(CommStackTest, ChannelLostBehindOurBackIsOpenedAgainByTheNextOperation) {
    StackBench bench;
    bench.stack->perform(askTries);
    bench.simulator->reset();  // no was-reset report: the kept channel is closed on the card
    bench.sent();

    EXPECT_THROW(bench.stack->perform(askTries), iso7816::interchange::LogicalChannelsNotSupported);
    bench.stack->perform(askTries);
    EXPECT_EQ(bench.sent(), (std::vector<ByteVector>{retryCounter(1), openChannel(),
                                                     selectApplet(1), retryCounter(1)}));
}

constexpr std::uint8_t RetryCounterIns = 0x34;

struct TransientErrorCase {
    char const* name;
    // Makes the next GET RETRY COUNTER fail.
    std::function<void(StackBench&)> failNext;
};

class TransientErrorTest : public ::testing::TestWithParam<TransientErrorCase> {};

TEST_P(TransientErrorTest, ChannelIsKeptAndTheAppletSelectedOnItAgain) {
    StackBench bench;
    bench.stack->perform(askTries);
    for (int error = 0; error < 3; ++error) {
        GetParam().failNext(bench);
        EXPECT_THROW(bench.stack->perform(askTries), std::runtime_error);
        // No channel is left open that the stack no longer knows.
        EXPECT_EQ(bench.simulator->openChannels(), (std::vector<std::uint8_t>{1}));
    }
    bench.sent();

    bench.stack->perform(askTries);
    EXPECT_EQ(bench.sent(), (std::vector<ByteVector>{selectApplet(1), retryCounter(1)}));
    EXPECT_EQ(bench.stack->getChannelId()->GetValue(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Errors, TransientErrorTest,
    ::testing::Values(
        TransientErrorCase{"TransmissionFails",
                           [](StackBench& bench) {
                               bench.connection->setTransmitHook(
                                   [failures = 1](ByteVector const& command) mutable {
                                       if (command[1] == RetryCounterIns && failures-- > 0) {
                                           throw sclib::SmartcardCommError(
                                               "Transmit failed: Communication error");
                                       }
                                   });
                           }},
        TransientErrorCase{
            "MalformedAnswer",
            [](StackBench& bench) { bench.simulator->answerOneByte(RetryCounterIns); }},
        TransientErrorCase{
            "ConditionsNotSatisfied",
            [](StackBench& bench) { bench.simulator->failWith(RetryCounterIns, 0x6985); }}),
    [](auto const& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pavlenenabler::test
