// The card service over the real PC/SC daemon, with the virtual card in the vpcd reader.
#include <gtest/gtest.h>

#include <fstream>
#include <future>
#include <iterator>
#include <sstream>
#include <thread>

#include "cardservice/card_service.hpp"
#include "other_client.hpp"
#include "pcsc_test_support.hpp"
#include "state_recorder.hpp"
#include "testsupport/cardsim/card_type.hpp"
#include "testsupport/cardsim/pkcs15_content.hpp"
#include "virtual_card_test.hpp"

namespace cardservice::pcsc::testing {
namespace {

using testsupport::cardsim::ByteVector;

Bytes const OpenChannel{0x00, 0x70, 0x00, 0x00, 0x01};

Bytes selectAppletOn(unsigned char channel) {
    return {channel, 0xA4, 0x04, 0x0C, 0x0C, 0xA0, 0x00, 0x00, 0x00,
            0x63,    0x50, 0x4B, 0x43, 0x53, 0x2D, 0x31, 0x35};
}

ByteVector statusOf(Bytes const& response) {
    return response.size() < 2 ? ByteVector{} : ByteVector(response.end() - 2, response.end());
}

class PcscCardServiceTest : public VirtualCardTest {
protected:
    std::shared_ptr<Card> connect() {
        std::shared_ptr<Card> card = slot_->makeSmartCard();
        EXPECT_NE(card, nullptr);
        return card;
    }

    // The response of one command, which must succeed.
    static Bytes exchange(Card& card, Bytes const& command) {
        std::optional<TransmitOutcome> const outcome = transmitAndWait(card, command);
        if (!outcome) {
            ADD_FAILURE() << "no reply within the time limit";
            return {};
        }
        EXPECT_EQ(outcome->error, nullptr) << outcome->error->description();
        return outcome->response.value_or(Bytes{});
    }
};

TEST_F(PcscCardServiceTest, ReaderIsListedAndAnUnknownNameGivesNoSlot) {
    std::vector<std::string> const names = manager_->slotNames();
    EXPECT_NE(std::find(names.begin(), names.end(), VirtualReader), names.end());
    EXPECT_EQ(slot_->name(), VirtualReader);
    EXPECT_EQ(slotNamed(*manager_, "No Such Reader 00 00"), nullptr);
}

TEST_F(PcscCardServiceTest, ReaderListObserverMayCallBackIntoTheManager) {
    auto const manager = manager_;
    auto const names = std::make_shared<std::vector<std::string>>();
    bool const ended = endsInTime([manager, names] {
        KeyValueObservable::ObservationId const id =
            manager->addObserver("slotNames", ObserveInitial, [&](ObservedValue const&) {
                // Called under the manager's publishing lock, which must let these through.
                *names = manager->slotNames();
                manager->removeObserver(
                    manager->addObserver("slotNames", ObserveInitial, [](ObservedValue const&) {}));
            });
        manager->removeObserver(id);
    });
    ASSERT_TRUE(ended) << "deadlocked";
    EXPECT_NE(std::find(names->begin(), names->end(), VirtualReader), names->end());
}

TEST_F(PcscCardServiceTest, EmptyReaderHasNoCardAndNoAtr) {
    EXPECT_EQ(slot_->state(), StateEmpty);
    EXPECT_EQ(slot_->makeSmartCard(), nullptr);
    EXPECT_FALSE(slot_->atr().has_value());
}

TEST_F(PcscCardServiceTest, InsertedCardShowsItsAtr) {
    insertCard({"--type", "gen4"});
    ByteVector const& expected = testsupport::cardsim::atrOf(testsupport::cardsim::CardType::Gen4);
    ASSERT_TRUE(slot_->atr().has_value());
    EXPECT_EQ(*slot_->atr(), AtrBytes(expected.begin(), expected.end()));
}

TEST_F(PcscCardServiceTest, TransactionOpensAChannelAndReadsTheCertificateDirectory) {
    insertCard();
    std::shared_ptr<Card> const card = connect();
    ASSERT_NE(card, nullptr);
    ByteVector directory;
    std::thread::id replyThread;
    ErrorPtr error;
    bool const ran = card->inSession(
        [&] {
            Bytes const opened = exchange(*card, OpenChannel);
            EXPECT_EQ(opened.size(), 3U);
            EXPECT_EQ(statusOf(opened), (ByteVector{0x90, 0x00}));
            unsigned char const channel = opened.empty() ? 0 : opened[0];
            EXPECT_EQ(statusOf(exchange(*card, selectAppletOn(channel))), (ByteVector{0x90, 0x00}));
            Bytes const info = exchange(*card, {channel, 0xA4, 0x00, 0x00, 0x02, 0x44, 0x04, 0x09});
            EXPECT_EQ(info.size(), 11U);
            std::size_t const size = info.size() < 6 ? 0 : (info[4] << 8 | info[5]);
            while (directory.size() < size) {
                std::size_t const chunk = std::min<std::size_t>(size - directory.size(), 0x80);
                Bytes const read = exchange(
                    *card, {channel, 0xB0, static_cast<unsigned char>(directory.size() >> 8),
                            static_cast<unsigned char>(directory.size() & 0xFF),
                            static_cast<unsigned char>(chunk)});
                if (statusOf(read) != ByteVector{0x90, 0x00}) {
                    ADD_FAILURE() << "READ BINARY failed";
                    return false;
                }
                directory.insert(directory.end(), read.begin(), read.end() - 2);
            }
            replyThread = transmitAndWait(*card, {0x00, 0x70, 0x80, channel, 0x00})->replyThread;
            return true;
        },
        error);
    EXPECT_TRUE(ran);
    EXPECT_EQ(error, nullptr);
    EXPECT_EQ(directory, testsupport::cardsim::encodeCertificateDirectory(
                             testsupport::cardsim::Pkcs15Content::standard().certificates));
    EXPECT_NE(replyThread, std::this_thread::get_id());
}

TEST_F(PcscCardServiceTest, RemovalFailsTheTransactionInProgressAndReinsertionIsReported) {
    insertCard();
    std::shared_ptr<Card> const card = connect();
    ASSERT_NE(card, nullptr);
    std::optional<TransmitOutcome> afterRemoval;
    ErrorPtr error;
    card->inSession(
        [&] {
            EXPECT_EQ(statusOf(exchange(*card, OpenChannel)), (ByteVector{0x90, 0x00}));
            EXPECT_EQ(virtualCard_->stop(), 0);
            EXPECT_TRUE(recorder_->waitForState(StateEmpty)) << "no removal reported";
            afterRemoval = transmitAndWait(*card, OpenChannel);
            return true;
        },
        error);
    ASSERT_TRUE(afterRemoval.has_value()) << "no reply after the removal";
    ASSERT_NE(afterRemoval->error, nullptr);
    EXPECT_EQ(afterRemoval->error->code(), TokenNotFound) << afterRemoval->error->description();
    EXPECT_FALSE(afterRemoval->response.has_value());

    // The old card stays gone; the next session says so.
    EXPECT_FALSE(card->inSession([] { return true; }, error));
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->code(), TokenNotFound);

    insertCard();
    EXPECT_NE(connect(), nullptr);
}

TEST_F(PcscCardServiceTest, ResetByAnotherClientIsReportedAndTheNextTransactionGoesOn) {
    insertCard();
    std::shared_ptr<Card> const card = connect();
    ASSERT_NE(card, nullptr);
    ErrorPtr error;
    ASSERT_TRUE(card->inSession(
        [&] {
            return statusOf(exchange(*card, OpenChannel)) == ByteVector{0x90, 0x00};
        },
        error));

    std::size_t const beforeReset = recorder_->count();
    ASSERT_TRUE(OtherClient::resetCard(VirtualReader));

    bool resetSeenFirst = false;
    Bytes reopened;
    EXPECT_TRUE(card->inSession(
        [&] {
            // Reported before the session's block runs, so a caller learns of it in time.
            resetSeenFirst = recorder_->waitForSequence(beforeReset, {StateProbing, StateValidCard},
                                                        std::chrono::milliseconds(0));
            reopened = exchange(*card, OpenChannel);
            return true;
        },
        error));
    EXPECT_EQ(error, nullptr);
    EXPECT_TRUE(resetSeenFirst) << "states seen: " << recorder_->states().size();
    // The reset closed channel 1, so it is handed out again.
    EXPECT_EQ(reopened, (Bytes{0x01, 0x90, 0x00}));
    EXPECT_EQ(slot_->state(), StateValidCard);
}

TEST_F(PcscCardServiceTest, AsynchronousSessionLastsUntilItIsEnded) {
    insertCard();
    std::shared_ptr<Card> const card = connect();
    ASSERT_NE(card, nullptr);
    auto began = std::make_shared<std::promise<std::pair<bool, std::thread::id>>>();
    std::future<std::pair<bool, std::thread::id>> reply = began->get_future();
    card->beginSession([began](bool ok, ErrorPtr error) {
        began->set_value({ok && error == nullptr, std::this_thread::get_id()});
    });
    ASSERT_EQ(reply.wait_for(ReplyTimeout), std::future_status::ready);
    auto const [ok, replyThread] = reply.get();
    EXPECT_TRUE(ok);
    EXPECT_NE(replyThread, std::this_thread::get_id());
    EXPECT_EQ(exchange(*card, OpenChannel), (Bytes{0x01, 0x90, 0x00}));
    card->endSession();
    // Ended: a second card of this reader can have its own session.
    std::shared_ptr<Card> const other = connect();
    ASSERT_NE(other, nullptr);
    ErrorPtr error;
    EXPECT_TRUE(other->inSession([] { return true; }, error));
    EXPECT_EQ(error, nullptr);
}

TEST_F(PcscCardServiceTest, ApduLogMasksThePin) {
    std::string const logPath =
        ::testing::TempDir() + "virtualcard_apdu_" + std::to_string(::getpid()) + ".log";
    std::remove(logPath.c_str());
    insertCard({"--log", logPath, "--pin", "4711"});
    std::shared_ptr<Card> const card = connect();
    ASSERT_NE(card, nullptr);
    ErrorPtr error;
    card->inSession(
        [&] {
            exchange(*card, selectAppletOn(0x00));
            exchange(*card, {0x00, 0x20, 0x00, 0x03, 0x04, 0x34, 0x37, 0x31, 0x31});
            return true;
        },
        error);
    EXPECT_EQ(error, nullptr);
    EXPECT_EQ(virtualCard_->stop(), 0);
    std::ifstream file(logPath);
    std::string const log((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::remove(logPath.c_str());
    EXPECT_NE(log.find("> 00 20 00 03 04 ** ** ** **"), std::string::npos) << log;
    EXPECT_EQ(log.find("34 37 31 31"), std::string::npos) << log;
    EXPECT_NE(log.find("> 00 A4 04 0C 0C A0 00 00 00 63"), std::string::npos) << log;
}

}  // namespace
}  // namespace cardservice::pcsc::testing
