#include "pavlenenabler/enabler/enabler.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <future>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "cardservice/memory/memory_service.hpp"
#include "enabler_recorder.hpp"
#include "signature_check.hpp"
#include "testsupport/cardsim/card_profile.hpp"
#include "testsupport/cardsim/card_simulator.hpp"
#include "testsupport/cardsim/test_credentials.hpp"
#include "velk/log_writing_stream.hpp"
#include "velk/logger.hpp"

namespace pavlenenabler::test {
namespace {

using enabler::Enabler;
using iface::KeyCertType;
using testsupport::cardsim::CardProfile;
using testsupport::cardsim::CardSimulator;
using testsupport::cardsim::CardType;
namespace memory = cardservice::memory;

// Every test starts and ends with a card service without readers.
class EnablerTest : public ::testing::Test {
protected:
    // libcrypto is set up before the card service, so that its exit handler runs after the
    // service's worker thread, which signs for the simulated cards, has been joined; otherwise
    // that thread's libcrypto state is freed under it and reported as leaked.
    static void SetUpTestSuite() { testsupport::cardsim::TestCredentials::shared(); }
    void SetUp() override { memory::reset(); }
    void TearDown() override { memory::reset(); }

    static std::shared_ptr<CardSimulator> insertCard(std::string const& reader,
                                                     CardType type = CardType::Gen3) {
        auto card = std::make_shared<CardSimulator>(CardProfile::standard(type));
        memory::insertCard(reader, card);
        return card;
    }
};

std::size_t channelsOpened(CardSimulator const& card) {
    std::size_t count = 0;
    for (auto const& exchange : card.log()) {
        count += exchange.command.size() > 1 && exchange.command[1] == 0x70 ? 1 : 0;
    }
    return count;
}

// A signature that verifies with the certificate of the card's authentication key.
bool signs(iface::Smartcard& card) {
    auto const digest = sha256("message to sign");
    auto const signature = card.sign(KeyCertType::Authentication, digestInfo(digest));
    return verifies(card.getCertificate(KeyCertType::Authentication), signature, digest);
}

TEST_F(EnablerTest, FindCardReportsTheEmptyReaderAndReturnsTheCardOfTheNext) {
    memory::addReader("Reader 1");
    memory::addReader("Reader 2");
    insertCard("Reader 2");
    EnablerRecorder user;
    Enabler enabler(user, user);

    auto const card = enabler.findCard();
    ASSERT_TRUE(card);
    EXPECT_EQ(card->getReaderName(), "Reader 2");
    EXPECT_EQ(user.texts("Error while connecting smartcard: "),
              std::vector<std::string>{"Error while connecting smartcard: No smartcard in reader"});
}

struct AtrCase {
    char const* name;
    CardType type;
    bool accepted;
};

class AcceptanceTest : public EnablerTest, public ::testing::WithParamInterface<AtrCase> {};

TEST_P(AcceptanceTest, OnlyTheFourKnownAtrsAreAcceptedEachWithItsPinObject) {
    memory::addReader("Reader 1");
    insertCard("Reader 1", GetParam().type);
    EnablerRecorder user;
    Enabler enabler(user, user);

    auto const card = enabler.findCard();
    ASSERT_EQ(card != nullptr, GetParam().accepted);
    if (card) {
        // The simulated card keeps its PIN in the object of its generation only.
        EXPECT_TRUE(card->login("1234").verified);
    }
    EXPECT_TRUE(user.texts("Error").empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cards, AcceptanceTest,
    ::testing::Values(AtrCase{"Gen2", CardType::Gen2, true}, AtrCase{"Gen3", CardType::Gen3, true},
                      AtrCase{"Gen4", CardType::Gen4, true},
                      AtrCase{"PavlenSmartcard1", CardType::PavlenSmartcard1, true},
                      AtrCase{"Foreign", CardType::Foreign, false}),
    [](auto const& info) { return std::string(info.param.name); });

// A reader and its card: none, or one of the type.
struct ReaderSetUp {
    char const* reader;
    bool withCard;
    CardType type;
};

struct SearchCase {
    char const* name;
    std::vector<ReaderSetUp> readers;
    char const* cardReader;  // the reader of the card found; null for none
    std::vector<iface::PassedOverReader> passedOver;
};

class SearchTest : public EnablerTest, public ::testing::WithParamInterface<SearchCase> {};

TEST_P(SearchTest, SearchTellsWhyEachReaderBeforeTheCardGaveNone) {
    for (auto const& setUp : GetParam().readers) {
        memory::addReader(setUp.reader);
        if (setUp.withCard) {
            insertCard(setUp.reader, setUp.type);
        }
    }
    EnablerRecorder user;
    Enabler enabler(user, user);

    auto const search = enabler.searchCard();
    ASSERT_EQ(search.card != nullptr, GetParam().cardReader != nullptr);
    if (search.card) {
        EXPECT_EQ(search.card->getReaderName(), GetParam().cardReader);
    }
    auto const& expected = GetParam().passedOver;
    ASSERT_EQ(search.passedOver.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(search.passedOver[i].readerName, expected[i].readerName) << i;
        EXPECT_EQ(search.passedOver[i].reason, expected[i].reason) << i;
        EXPECT_EQ(search.passedOver[i].detail, expected[i].detail) << i;
    }
}

using iface::PassedOverReason;

INSTANTIATE_TEST_SUITE_P(
    Readers, SearchTest,
    ::testing::Values(SearchCase{"NoReader", {}, nullptr, {}},
                      SearchCase{
                          "EmptyReader",
                          {{"Reader 1", false, CardType::Gen3}},
                          nullptr,
                          {{"Reader 1", PassedOverReason::NoCard, "No smartcard in reader"}}},
                      SearchCase{"ForeignCard",
                                 {{"Reader 1", true, CardType::Foreign}},
                                 nullptr,
                                 {{"Reader 1", PassedOverReason::CardNotAccepted, ""}}},
                      SearchCase{"CardAfterAnEmptyAndAForeign",
                                 {{"Reader 1", false, CardType::Gen3},
                                  {"Reader 2", true, CardType::Foreign},
                                  {"Reader 3", true, CardType::Gen4},
                                  {"Reader 4", false, CardType::Gen3}},
                                 "Reader 3",
                                 {{"Reader 1", PassedOverReason::NoCard, "No smartcard in reader"},
                                  {"Reader 2", PassedOverReason::CardNotAccepted, ""}}}),
    [](auto const& info) { return std::string(info.param.name); });

TEST_F(EnablerTest, InsertionAndRemovalReachTheUserAndForeignCardsAreIgnored) {
    memory::addReader("Reader 1");
    memory::addReader("Reader 2");
    insertCard("Reader 1", CardType::Foreign);
    EnablerRecorder user;
    Enabler enabler(user, user);
    enabler.startCardEvent();

    insertCard("Reader 2");
    ASSERT_TRUE(user.waitForEvents(1));
    memory::removeCard("Reader 1");
    memory::removeCard("Reader 2");
    ASSERT_TRUE(user.waitForEvents(2));

    auto const events = user.events();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_TRUE(events[0].inserted);
    EXPECT_EQ(events[0].card->getReaderName(), "Reader 2");
    EXPECT_FALSE(events[1].inserted);
    EXPECT_EQ(events[1].card, events[0].card);
}

// The cards present are reported before startCardEvent returns: a card found afterwards and
// then taken out is reported removed, even when it leaves at once.
TEST_F(EnablerTest, CardsPresentAreReportedBeforeStartCardEventReturns) {
    memory::addReader("Reader 1");
    insertCard("Reader 1");
    EnablerRecorder user;
    Enabler enabler(user, user);
    enabler.startCardEvent();
    ASSERT_EQ(user.events().size(), 1u);

    auto const found = enabler.findCard();
    EXPECT_EQ(found, user.events().front().card);
    memory::removeCard("Reader 1");
    ASSERT_TRUE(user.waitForEvents(2));
    EXPECT_FALSE(user.events().back().inserted);
    EXPECT_EQ(user.events().back().card, found);
}

TEST_F(EnablerTest, ReinsertedCardGetsANewObject) {
    memory::addReader("Reader 1");
    EnablerRecorder user;
    Enabler enabler(user, user);
    enabler.startCardEvent();

    auto const card = insertCard("Reader 1");
    ASSERT_TRUE(user.waitForEvents(1));
    memory::removeCard("Reader 1");
    ASSERT_TRUE(user.waitForEvents(2));
    memory::insertCard("Reader 1", card);
    ASSERT_TRUE(user.waitForEvents(3));

    auto const events = user.events();
    EXPECT_TRUE(events[2].inserted);
    EXPECT_NE(events[2].card, events[0].card);
    EXPECT_TRUE(events[2].card->login("1234").verified);
}

// The engine's start: find the card, start the events, log in at once; repeated with a new
// Enabler replacing the previous one each time.
TEST_F(EnablerTest, LoginRightAfterEventsStartSurvivesTheStartUpInsertion) {
    memory::addReader("Reader 1");
    auto const simulator = insertCard("Reader 1");
    std::vector<std::unique_ptr<EnablerRecorder>> users;
    std::unique_ptr<Enabler> current;

    for (int round = 0; round < 3; ++round) {
        simulator->clearLog();
        users.push_back(std::make_unique<EnablerRecorder>());
        auto next = std::make_unique<Enabler>(*users.back(), *users.back());
        auto const found = next->findCard();
        ASSERT_TRUE(found);
        next->startCardEvent();
        current = std::move(next);
        ASSERT_TRUE(found->login("1234").verified);

        ASSERT_TRUE(users.back()->waitForEvents(1));
        EXPECT_EQ(users.back()->events().front().card, found);
        EXPECT_TRUE(signs(*found));
        EXPECT_EQ(current->findCard(), found);
        EXPECT_EQ(channelsOpened(*simulator), 1u);
    }
}

TEST_F(EnablerTest, NoEventReachesAnEnablerWhileEnablersReplaceEachOther) {
    memory::addReader("Reader 1");
    memory::addReader("Reader 2");
    insertCard("Reader 1");
    auto const toggled = std::make_shared<CardSimulator>();
    // Card events keep coming while the Enablers are replaced.
    auto toggling = std::async(std::launch::async, [&] {
        for (int i = 0; i < 50; ++i) {
            memory::insertCard("Reader 2", toggled);
            memory::removeCard("Reader 2");
        }
    });

    std::vector<std::unique_ptr<EnablerRecorder>> users;
    std::vector<std::size_t> eventsWhenGone;
    std::unique_ptr<Enabler> current;
    for (int round = 0; round < 10; ++round) {
        users.push_back(std::make_unique<EnablerRecorder>());
        auto next = std::make_unique<Enabler>(*users.back(), *users.back());
        next->startCardEvent();
        ASSERT_TRUE(users.back()->waitForEvents(1));
        current = std::move(next);  // the previous Enabler goes while events keep coming
        if (round > 0) {
            eventsWhenGone.push_back(users[round - 1]->events().size());
        }
    }
    ASSERT_EQ(toggling.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    // The last card event reaches the newest user, and none reached a user after its Enabler.
    auto const seen = users.back()->events().size();
    memory::insertCard("Reader 2", toggled);
    ASSERT_TRUE(users.back()->waitForEvents(seen + 1));
    current.reset();
    for (std::size_t i = 0; i < eventsWhenGone.size(); ++i) {
        EXPECT_EQ(users[i]->events().size(), eventsWhenGone[i]) << "user " << i;
    }
}

TEST_F(EnablerTest, DiagnosticsListEveryReaderAndLatenciesFromTheSecondQuery) {
    memory::addReader("Reader 1");
    memory::addReader("Reader 2");
    insertCard("Reader 2");
    EnablerRecorder user;
    Enabler enabler(user, user);
    enabler.startCardEvent();
    ASSERT_TRUE(user.waitForEvents(1));

    auto const first = enabler.getReaderDiagnostics();
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[0]->getReaderName(), "Reader 1");
    EXPECT_FALSE(first[0]->hasCardInserted());
    EXPECT_EQ(first[0]->getCardLabel(), "");
    EXPECT_TRUE(first[0]->getLatencies().empty());
    EXPECT_EQ(first[1]->getReaderName(), "Reader 2");
    EXPECT_TRUE(first[1]->hasCardInserted());
    EXPECT_EQ(first[1]->getCardLabel(), "VELK TEST CARD");
    EXPECT_TRUE(first[1]->getLatencies().empty());

    auto const second = enabler.getReaderDiagnostics();
    std::vector<unsigned> instructions;
    for (auto const& latency : second[1]->getLatencies()) {
        instructions.push_back(latency->getApduInstruction().GetValue());
    }
    EXPECT_EQ(instructions, (std::vector<unsigned>{0x70, 0xA4, 0xB0}));
}

void logWarning(std::string const& text) {
    velk::LogWritingStream(velk::GetLogger(), velk::LogLevel::Warning, "enabler_test", 1)
        << text << std::endl;
}

TEST_F(EnablerTest, LogEntriesReachTheNewestEnablerAndItsLoggerOutlivesOlderOnes) {
    EnablerRecorder olderUser;
    EnablerRecorder newerUser;
    auto older = std::make_unique<Enabler>(olderUser, olderUser);
    logWarning("first entry");
    auto newer = std::make_unique<Enabler>(newerUser, newerUser);
    logWarning("second entry");
    older.reset();
    logWarning("third entry");

    EXPECT_EQ(olderUser.texts("entry").size(), 1u);
    EXPECT_EQ(newerUser.texts("entry").size(), 2u);
    ASSERT_TRUE(velk::GetLogger());
    newer.reset();
    EXPECT_FALSE(velk::GetLogger());
}

TEST_F(EnablerTest, ResetOfAFoundCardIsLoggedToTheUserOnce) {
    memory::addReader("Reader 1");
    insertCard("Reader 1");
    EnablerRecorder user;
    Enabler enabler(user, user);
    auto const card = enabler.findCard();
    ASSERT_TRUE(card->login("1234").verified);
    memory::resetCard("Reader 1");
    EXPECT_TRUE(signs(*card));
    EXPECT_TRUE(signs(*card));
    EXPECT_EQ(user.texts("Smartcard was reset").size(), 1u);
}

// A card taken out and another put in before events start: the start-up insertion must not
// report the object found for the first card, whose connection no longer reaches any card.
TEST_F(EnablerTest, CardSwappedBeforeEventsStartGetsItsOwnObject) {
    memory::addReader("Reader 1");
    insertCard("Reader 1");
    EnablerRecorder user;
    Enabler enabler(user, user);
    auto const found = enabler.findCard();
    ASSERT_TRUE(found);
    memory::removeCard("Reader 1");
    insertCard("Reader 1");

    enabler.startCardEvent();
    ASSERT_TRUE(user.waitForEvents(1));
    auto const inserted = user.events().front().card;
    EXPECT_NE(inserted, found);
    EXPECT_TRUE(inserted->login("1234").verified);
}

struct StoppedCase {
    char const* name;
    bool swapped;  // another card put in while events are stopped
};

class StoppedEventsTest : public EnablerTest, public ::testing::WithParamInterface<StoppedCase> {};

TEST_P(StoppedEventsTest, FindCardAfterEventsStopLooksAtTheReaderAgain) {
    memory::addReader("Reader 1");
    insertCard("Reader 1");
    EnablerRecorder user;
    Enabler enabler(user, user);
    enabler.startCardEvent();
    ASSERT_TRUE(user.waitForEvents(1));
    auto const registered = user.events().front().card;
    enabler.stopCardEvent();
    if (GetParam().swapped) {
        memory::removeCard("Reader 1");
        insertCard("Reader 1");
    }

    auto const found = enabler.findCard();
    ASSERT_TRUE(found);
    EXPECT_EQ(found == registered, !GetParam().swapped);
    EXPECT_TRUE(found->login("1234").verified);
}

INSTANTIATE_TEST_SUITE_P(Cards, StoppedEventsTest,
                         ::testing::Values(StoppedCase{"SameCard", false},
                                           StoppedCase{"OtherCard", true}),
                         [](auto const& info) { return std::string(info.param.name); });

TEST_F(EnablerTest, TwoSearchesBeforeTheStartUpInsertionGiveOneObject) {
    memory::addReader("Reader 1");
    insertCard("Reader 1");
    EnablerRecorder user;
    Enabler enabler(user, user);
    auto const first = enabler.findCard();
    auto const second = enabler.findCard();
    ASSERT_TRUE(first);
    EXPECT_EQ(second, first);
    ASSERT_TRUE(first->login("1234").verified);

    enabler.startCardEvent();
    ASSERT_TRUE(user.waitForEvents(1));
    EXPECT_EQ(user.events().front().card, first);
    EXPECT_TRUE(signs(*second));
}

// Waits for flag with a bound.
bool becomesTrue(std::atomic<bool> const& flag) {
    auto const deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!flag.load()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::yield();
    }
    return true;
}

TEST_F(EnablerTest, StopCardEventFromAnInsertionHandlerStopsTheEvents) {
    memory::addReader("Reader 1");
    insertCard("Reader 1");
    EnablerRecorder user;
    Enabler enabler(user, user);
    std::atomic<bool> stopped{false};
    user.afterInsertion = [&] {
        if (!stopped) {
            enabler.stopCardEvent();
            stopped = true;
        }
    };
    enabler.startCardEvent();
    ASSERT_TRUE(becomesTrue(stopped));

    // Events start again from here: the card still in is reported once more, with its object.
    enabler.startCardEvent();
    ASSERT_TRUE(user.waitForEvents(2));
    EXPECT_EQ(user.events()[1].card, user.events()[0].card);
}

TEST_F(EnablerTest, StartCardEventFromAnInsertionHandlerIsRefused) {
    memory::addReader("Reader 1");
    insertCard("Reader 1");
    EnablerRecorder user;
    Enabler enabler(user, user);
    std::atomic<bool> refused{false};
    user.afterInsertion = [&] {
        try {
            enabler.startCardEvent();
        } catch (std::logic_error const&) {
            refused = true;
        }
    };
    enabler.startCardEvent();
    ASSERT_TRUE(becomesTrue(refused));

    memory::removeCard("Reader 1");
    ASSERT_TRUE(user.waitForEvents(2));
    EXPECT_FALSE(user.events()[1].inserted);
}

TEST_F(EnablerTest, StopReturnsWhileAReaderKeepsChanging) {
    memory::addReader("Reader 1");
    memory::addReader("Reader 2");
    insertCard("Reader 1");
    EnablerRecorder user;
    Enabler enabler(user, user);
    enabler.startCardEvent();
    ASSERT_TRUE(user.waitForEvents(1));
    std::atomic<bool> stopped{false};
    auto const flapping = std::make_shared<CardSimulator>();
    auto flapper = std::async(std::launch::async, [&] {
        auto const end = std::chrono::steady_clock::now() + std::chrono::seconds(4);
        while (!stopped && std::chrono::steady_clock::now() < end) {
            memory::insertCard("Reader 2", flapping);
            memory::removeCard("Reader 2");
        }
    });
    // The event thread is busy with the flapping reader.
    ASSERT_TRUE(user.waitForEvents(3));

    auto const begin = std::chrono::steady_clock::now();
    enabler.stopCardEvent();
    auto const took = std::chrono::steady_clock::now() - begin;
    stopped = true;
    flapper.get();
    EXPECT_LT(took, std::chrono::seconds(3));
}

std::size_t threadCount() {
    auto const tasks = std::filesystem::directory_iterator("/proc/self/task");
    return static_cast<std::size_t>(std::distance(begin(tasks), end(tasks)));
}

TEST_F(EnablerTest, EventThreadGoesOnForTheOthersAndEndsWithTheLastEnabler) {
    memory::addReader("Reader 1");
    EnablerRecorder firstUser;
    EnablerRecorder secondUser;
    auto first = std::make_unique<Enabler>(firstUser, firstUser);
    auto second = std::make_unique<Enabler>(secondUser, secondUser);
    auto const before = threadCount();
    first->startCardEvent();
    second->startCardEvent();
    EXPECT_EQ(threadCount(), before + 1);

    second.reset();
    insertCard("Reader 1");
    ASSERT_TRUE(firstUser.waitForEvents(1));
    first.reset();
    EXPECT_EQ(threadCount(), before);
}

}  // namespace
}  // namespace pavlenenabler::test
