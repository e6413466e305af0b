#include <future>
#include <string>
#include <thread>
#include <utility>

#include <gtest/gtest.h>

#include "ctkwrapper/errors.hpp"
#include "ctkwrapper/slot_manager.hpp"
#include "service_fixture.hpp"

namespace ctkwrapper::test {
namespace {

namespace memory = cardservice::memory;
using Bytes = Smartcard::Bytes;
using testsupport::cardsim::ByteVector;

// MANAGE CHANNEL open: the simulator answers with the new channel number.
Bytes const openChannel{0x00, 0x70, 0x00, 0x00, 0x01};
Bytes const channelOpened{0x01, 0x90, 0x00};

struct Reply {
    std::error_code code;
    Bytes response;
    std::thread::id thread;
};

// Transmits and waits for the reply, checking that it comes exactly once.
Reply transmit(Smartcard& card, Bytes const& command) {
    auto calls = std::make_shared<std::atomic<int>>(0);
    auto promise = std::make_shared<std::promise<Reply>>();
    auto future = promise->get_future();
    card.transmitRequest(command, [calls, promise](std::error_code code, Bytes const& response) {
        if (calls->fetch_add(1) == 0) {
            promise->set_value(Reply{code, response, std::this_thread::get_id()});
        }
    });
    Reply reply = awaitValue(future);
    // A second reply would be queued behind this barrier on the service's worker.
    SlotManager::getInstance().slotNamed("barrier");
    EXPECT_EQ(calls->load(), 1);
    return reply;
}

class SmartcardTest : public ServiceTest {
protected:
    void SetUp() override {
        ServiceTest::SetUp();
        simulator = readerWithCard("Reader");
    }

    Smartcard connect() { return SlotManager::getInstance().slotNamed("Reader").makeSmartcard(); }

    std::shared_ptr<testsupport::cardsim::CardSimulator> simulator;
};

TEST_F(SmartcardTest, SessionRunsTheBodyOnThisThread) {
    Smartcard card = connect();
    std::thread::id bodyThread;
    bool heldDuringBody = false;
    std::error_code const code = card.inSession([&] {
        bodyThread = std::this_thread::get_id();
        heldDuringBody = memory::sessionHeld("Reader");
    });
    EXPECT_FALSE(code);
    EXPECT_EQ(&code.category(), &errorCategory);
    EXPECT_EQ(bodyThread, std::this_thread::get_id());
    EXPECT_TRUE(heldDuringBody);
    EXPECT_FALSE(memory::sessionHeld("Reader"));
}

struct SessionFailure {
    char const* name;
    void (*cause)();
    int expected;
};

class RefusedSession : public SmartcardTest,
                       public ::testing::WithParamInterface<SessionFailure> {};

TEST_P(RefusedSession, ReturnsTheCodeWithoutRunningTheBody) {
    Smartcard card = connect();
    GetParam().cause();
    bool ran = false;
    std::error_code const code = card.inSession([&] { ran = true; });
    EXPECT_EQ(code, std::error_code(GetParam().expected, errorCategory));
    EXPECT_FALSE(ran);
}

INSTANTIATE_TEST_SUITE_P(
    Causes, RefusedSession,
    ::testing::Values(
        SessionFailure{"ArmedCommunicationError",
                       [] { memory::failSessions("Reader", cardservice::CommunicationError); }, 2},
        SessionFailure{"ArmedUnknownCode", [] { memory::failSessions("Reader", 42); }, 10},
        SessionFailure{"CardRemoved", [] { memory::removeCard("Reader"); }, 7},
        SessionFailure{"ReaderRemoved", [] { memory::removeReader("Reader"); }, 7},
        SessionFailure{"CardMute", [] { memory::muteCard("Reader"); }, 2}),
    [](auto const& info) { return std::string(info.param.name); });

TEST_F(SmartcardTest, ArmedSessionFaultFailsOnlyTheNextSession) {
    Smartcard card = connect();
    memory::failSessions("Reader", cardservice::TokenNotFound);
    EXPECT_EQ(card.inSession([] {}).value(), 7);
    EXPECT_FALSE(card.inSession([] {}));
}

TEST_F(SmartcardTest, CardKeepsWorkingAfterAReset) {
    Smartcard card = connect();
    memory::muteCard("Reader");
    memory::resetCard("Reader");
    EXPECT_FALSE(card.inSession([] {}));
}

TEST_F(SmartcardTest, TransmissionRepliesOnAnotherThreadWithTheCardsAnswer) {
    Smartcard card = connect();
    Reply reply;
    EXPECT_FALSE(card.inSession([&] { reply = transmit(card, openChannel); }));
    EXPECT_FALSE(reply.code);
    EXPECT_EQ(reply.response, channelOpened);
    EXPECT_NE(reply.thread, std::this_thread::get_id());
    ASSERT_EQ(simulator->log().size(), 1u);
    EXPECT_EQ(simulator->log()[0].command, (ByteVector{0x00, 0x70, 0x00, 0x00, 0x01}));
}

TEST_F(SmartcardTest, EmptyCommandReachesTheCardAsNoBytes) {
    Smartcard card = connect();
    transmit(card, Bytes());
    ASSERT_EQ(simulator->log().size(), 1u);
    EXPECT_TRUE(simulator->log()[0].command.empty());
}

TEST_F(SmartcardTest, FailedTransmissionRepliesWithTheCodeAndNoBytes) {
    Smartcard card = connect();
    memory::failTransmissions("Reader", cardservice::CorruptedData);
    Reply const reply = transmit(card, openChannel);
    EXPECT_EQ(reply.code, std::error_code(3, errorCategory));
    EXPECT_TRUE(reply.response.empty());
    EXPECT_TRUE(simulator->log().empty());
}

TEST_F(SmartcardTest, ReplyWithResponseAndErrorCountsAsSuccess) {
    Smartcard card = connect();
    memory::replyWithResponseAndError("Reader", cardservice::AuthenticationNeeded);
    Reply const reply = transmit(card, openChannel);
    EXPECT_FALSE(reply.code);
    EXPECT_EQ(reply.response, channelOpened);
}

TEST_F(SmartcardTest, ReplyWithNeitherIsSuccessWithNoBytes) {
    Smartcard card = connect();
    memory::replyWithNothing("Reader");
    Reply const reply = transmit(card, openChannel);
    EXPECT_EQ(reply.code, std::error_code(0, errorCategory));
    EXPECT_TRUE(reply.response.empty());
}

TEST_F(SmartcardTest, TransmissionFaultsAreTakenInOrder) {
    Smartcard card = connect();
    memory::failTransmissions("Reader", cardservice::CommunicationError, 2);
    memory::replyWithNothing("Reader");
    EXPECT_EQ(transmit(card, openChannel).code.value(), 2);
    EXPECT_EQ(transmit(card, openChannel).code.value(), 2);
    EXPECT_TRUE(transmit(card, openChannel).response.empty());
    EXPECT_EQ(transmit(card, openChannel).response, channelOpened);
}

TEST_F(SmartcardTest, TransmissionToARemovedCardFails) {
    Smartcard card = connect();
    memory::removeCard("Reader");
    memory::insertCard("Reader", std::make_shared<testsupport::cardsim::CardSimulator>());
    EXPECT_EQ(transmit(card, openChannel).code.value(), 7);
    EXPECT_TRUE(simulator->log().empty());
}

TEST_F(SmartcardTest, AtrIsTheCardsUntilTheReaderHasGone) {
    Smartcard card = connect();
    ByteVector const& atr = simulator->atr();
    EXPECT_EQ(card.getAtr(), std::basic_string<unsigned char>(atr.begin(), atr.end()));
    memory::removeReader("Reader");
    EXPECT_TRUE(card.getAtr().empty());
}

TEST_F(SmartcardTest, AtrOfAnEmptyReaderIsEmpty) {
    Smartcard card = connect();
    memory::removeCard("Reader");
    EXPECT_TRUE(card.getAtr().empty());
}

TEST_F(SmartcardTest, BegunSessionEndsRightAfterTheCallback) {
    Smartcard card = connect();
    std::promise<std::pair<std::error_code, bool>> result;
    auto future = result.get_future();
    card.beginSessionWithReply([&](std::error_code code) {
        result.set_value({code, memory::sessionHeld("Reader")});
    });
    auto const [code, heldInCallback] = awaitValue(future);
    EXPECT_FALSE(code);
    EXPECT_TRUE(heldInCallback);
    // The end of the session precedes this reply on the service's worker.
    SlotManager::getInstance().slotNamed("barrier");
    EXPECT_FALSE(memory::sessionHeld("Reader"));
    EXPECT_FALSE(card.inSession([] {}));
}

TEST_F(SmartcardTest, FailedBeginLeavesNoSessionOpen) {
    Smartcard card = connect();
    memory::failSessions("Reader", cardservice::AuthenticationFailed);
    std::promise<std::error_code> result;
    auto future = result.get_future();
    card.beginSessionWithReply([&](std::error_code code) { result.set_value(code); });
    EXPECT_EQ(awaitValue(future).value(), 5);
    SlotManager::getInstance().slotNamed("barrier");
    EXPECT_FALSE(memory::sessionHeld("Reader"));
}

TEST_F(SmartcardTest, BeginWhileAnotherSessionIsOpenFails) {
    Smartcard card = connect();
    Smartcard other = connect();
    std::error_code code;
    card.inSession([&] {
        std::promise<std::error_code> result;
        auto future = result.get_future();
        other.beginSessionWithReply([&](std::error_code c) { result.set_value(c); });
        code = awaitValue(future);
    });
    EXPECT_EQ(code.value(), 2);
    EXPECT_FALSE(memory::sessionHeld("Reader"));
}

TEST_F(SmartcardTest, MissingCardRefusesEveryRequest) {
    memory::removeCard("Reader");
    Smartcard card = connect();
    ASSERT_FALSE(card.isValid());
    bool ran = false;
    EXPECT_EQ(card.inSession([&] { ran = true; }).value(), 7);
    EXPECT_FALSE(ran);
    EXPECT_EQ(transmit(card, openChannel).code.value(), 7);
    EXPECT_TRUE(card.getAtr().empty());
    std::error_code begun;
    card.beginSessionWithReply([&](std::error_code code) { begun = code; });
    EXPECT_EQ(begun.value(), 7);
}

TEST_F(SmartcardTest, MovedCardTakesTheConnectionAlong) {
    Smartcard first = connect();
    Smartcard second = std::move(first);
    EXPECT_TRUE(second.isValid());
    EXPECT_EQ(transmit(second, openChannel).response, channelOpened);
}

}  // namespace
}  // namespace ctkwrapper::test
