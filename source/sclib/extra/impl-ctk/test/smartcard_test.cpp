#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <stdexcept>
#include <string>
#include <typeindex>
#include <vector>

#include "ctkwrapper/errors.hpp"
#include "sclib/exceptions.hpp"
#include "sclib/impl/ctk/provider.hpp"
#include "service_test.hpp"

namespace sclib::impl::ctk {
namespace {

namespace memory = cardservice::memory;
using Bytes = velk::basic_allocated_string<unsigned char>;
using testsupport::cardsim::ByteVector;

char const* const ReaderName = "Reader 1";

// MANAGE CHANNEL open, answered with the new channel number and 90 00.
Bytes const OpenChannel{0x00, 0x70, 0x00, 0x00, 0x01};

class SmartcardTest : public test::ServiceTest {
protected:
    void SetUp() override {
        test::ServiceTest::SetUp();
        memory::addReader(ReaderName);
        simulator = insertCard(ReaderName);
    }

    static std::unique_ptr<sclib::Smartcard> connect() {
        return GetProvider().GetReaderByName(ReaderName)->ConnectSmartcard();
    }

    // The was-reset flag of one transaction that does nothing else.
    static bool wasResetIn(sclib::Smartcard& card) {
        bool flag = false;
        card.transaction(
            [&flag](cardlayer::smartcard::SmartcardProvider&, bool wasReset) { flag = wasReset; });
        return flag;
    }

    std::shared_ptr<testsupport::cardsim::CardSimulator> simulator;
};

// 'T' runs a transaction and expects the flag given after it, 'R' resets the card.
struct ResetCase {
    char const* name;
    std::string steps;
};

void PrintTo(ResetCase const& c, std::ostream* os) {
    *os << c.name << ' ' << c.steps;
}

class WasResetTest : public SmartcardTest, public ::testing::WithParamInterface<ResetCase> {};

TEST_P(WasResetTest, FlagReportsResetsSinceThePreviousTransaction) {
    auto const card = connect();
    auto const& steps = GetParam().steps;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        if (steps[i] == 'R') {
            memory::resetCard(ReaderName);
        } else {
            bool const expected = steps[++i] == '1';
            EXPECT_EQ(wasResetIn(*card), expected) << "step " << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Sequences, WasResetTest,
                         ::testing::Values(ResetCase{"PresentAllAlong", "T0T0"},
                                           ResetCase{"ResetBetween", "T0RT1T0"},
                                           ResetCase{"ResetBeforeTheFirst", "RT1T0"},
                                           ResetCase{"SeveralResetsGiveOneTrue", "T0RRRT1T0"}),
                         [](auto const& info) { return std::string(info.param.name); });

TEST_F(SmartcardTest, EachCardObjectOfAReaderSeesEveryResetOnce) {
    auto const first = connect();
    auto const second = connect();
    memory::resetCard(ReaderName);
    // The second object's transaction pumps the shared monitor, on another thread.
    auto other = std::async(std::launch::async, [&] { return wasResetIn(*second); });
    ASSERT_EQ(other.wait_for(std::chrono::seconds(30)), std::future_status::ready);
    EXPECT_TRUE(other.get());
    EXPECT_TRUE(wasResetIn(*first));
    EXPECT_FALSE(wasResetIn(*first));
    EXPECT_FALSE(wasResetIn(*second));
}

TEST_F(SmartcardTest, CommandsReachTheCardAndAnswersComeBack) {
    auto const card = connect();
    simulator->clearLog();
    Bytes answer;
    card->transaction([&answer](cardlayer::smartcard::SmartcardProvider& provider, bool) {
        answer = provider.getCardIo().Transmit(OpenChannel);
        // An empty command reaches the card as an empty buffer.
        provider.getCardIo().Transmit(nullptr, 0);
    });
    EXPECT_EQ(ByteVector(answer.begin(), answer.end()), (ByteVector{0x01, 0x90, 0x00}));
    auto const log = simulator->log();
    ASSERT_EQ(log.size(), 2U);
    EXPECT_EQ(log[0].command, ByteVector(OpenChannel.begin(), OpenChannel.end()));
    EXPECT_TRUE(log[1].command.empty());
}

// The card object of the old slot still holds the old slot's monitor when the new card connects.
TEST_F(SmartcardTest, CardOfAReaderPluggedBackInSeesEachResetOnce) {
    auto const reader = GetProvider().GetReaderByName(ReaderName);
    auto old = reader->ConnectSmartcard();
    memory::removeReader(ReaderName);
    memory::addReader(ReaderName);
    insertCard(ReaderName);
    auto const card = reader->ConnectSmartcard();

    try {
        wasResetIn(*old);
        FAIL() << "the old slot's card answered";
    } catch (NoSmartcardError const& e) {
        EXPECT_STREQ(e.what(), "Unable to start session: Token not found");
    }
    old.reset();
    EXPECT_FALSE(wasResetIn(*card));
    memory::resetCard(ReaderName);
    EXPECT_TRUE(wasResetIn(*card));
    EXPECT_FALSE(wasResetIn(*card));
}

struct FailureCase {
    std::int64_t serviceCode;
    std::type_index thrown;
    char const* suffix;
};

std::vector<FailureCase> const Failures{
    {cardservice::TokenNotFound, typeid(NoSmartcardError), ": Token not found"},
    {cardservice::CorruptedData, typeid(DataCorruptedError), ": Corrupted data"},
    {cardservice::CommunicationError, typeid(SmartcardCommError), ": Communication error"},
    {cardservice::AuthenticationNeeded, typeid(SmartcardCommError),
     ": Unknown error: authentication is required"},
    {-42, typeid(SmartcardCommError), ": Unknown error: unrecognized error"},
};

void PrintTo(FailureCase const& c, std::ostream* os) {
    *os << c.serviceCode;
}

class FailureTest : public SmartcardTest, public ::testing::WithParamInterface<FailureCase> {
protected:
    void expectFailure(std::function<void()> const& run, std::string const& prefix) {
        try {
            run();
            FAIL() << "no exception";
        } catch (std::exception const& e) {
            EXPECT_EQ(std::type_index(typeid(e)), GetParam().thrown);
            EXPECT_EQ(e.what(), prefix + GetParam().suffix);
        }
    }
};

TEST_P(FailureTest, SessionThatCannotStartRunsNoBody) {
    auto const card = connect();
    memory::failSessions(ReaderName, GetParam().serviceCode);
    bool ran = false;
    expectFailure(
        [&] {
            card->transaction(
                [&ran](cardlayer::smartcard::SmartcardProvider&, bool) { ran = true; });
        },
        "Unable to start session");
    EXPECT_FALSE(ran);
}

TEST_P(FailureTest, FailedTransmissionReachesTheCaller) {
    auto const card = connect();
    memory::failTransmissions(ReaderName, GetParam().serviceCode);
    expectFailure(
        [&] {
            card->transaction([](cardlayer::smartcard::SmartcardProvider& provider, bool) {
                provider.getCardIo().Transmit(OpenChannel);
            });
        },
        "Transmit failed");
}

INSTANTIATE_TEST_SUITE_P(Codes, FailureTest, ::testing::ValuesIn(Failures));

TEST_F(SmartcardTest, BodyExceptionReachesTheCaller) {
    auto const card = connect();
    EXPECT_THROW(card->transaction([](cardlayer::smartcard::SmartcardProvider&, bool) {
        throw std::out_of_range("from the body");
    }),
                 std::out_of_range);
}

TEST_F(SmartcardTest, PendingMonitorFailureFailsOneTransactionOnly) {
    test::LogCapture log;
    auto const card = connect();
    memory::reportState(ReaderName, 7);
    bool ran = false;
    auto const body = [&ran](cardlayer::smartcard::SmartcardProvider&, bool) { ran = true; };
    try {
        card->transaction(body);
        FAIL() << "no exception";
    } catch (ctkwrapper::UnexpectedCtkError const& e) {
        EXPECT_STREQ(e.what(), "Invalid slot state: 7");
    }
    EXPECT_FALSE(ran);
    card->transaction(body);
    EXPECT_TRUE(ran);
}

TEST_F(SmartcardTest, AtrIsTheCardsAndEmptyOnceTheReaderHasGone) {
    auto const card = connect();
    auto const& atr = simulator->atr();
    EXPECT_EQ(card->getAtr().getRaw(), std::basic_string<unsigned char>(atr.begin(), atr.end()));
    memory::removeReader(ReaderName);
    EXPECT_TRUE(card->getAtr().getRaw().empty());
}

}  // namespace
}  // namespace sclib::impl::ctk
