#include <openssl/engine.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "cardservice/memory/memory_service.hpp"
#include "engine_fixture.hpp"
#include "testsupport/cardsim/card_profile.hpp"

namespace engine::test {
namespace {

namespace memory = cardservice::memory;
using testsupport::cardsim::CardProfile;
using testsupport::cardsim::CardSimulator;
using testsupport::cardsim::CardType;

// The fixture starts with "Reader 1" holding a standard card; each case changes that first.
struct NoCardCase {
    char const* name;
    std::function<void()> arrange;
    std::vector<std::string> errors;
};

class NoCardTest : public EngineTest, public ::testing::WithParamInterface<NoCardCase> {};

TEST_P(NoCardTest, EveryCommandThatNeedsTheCardTellsWhyThereIsNone) {
    GetParam().arrange();
    initEngine();
    EXPECT_EQ(ENGINE_ctrl_cmd_string(engine_, "PIN", Pin, 0), 0);
    EXPECT_EQ(takeErrorTexts(), GetParam().errors);
    EXPECT_FALSE(loadPrivateKey());
    // OpenSSL adds its own error after the engine's.
    auto const loadErrors = takeErrorTexts();
    auto const& expected = GetParam().errors;
    ASSERT_GE(loadErrors.size(), expected.size());
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), loadErrors.begin()));
}

INSTANTIATE_TEST_SUITE_P(
    Readers, NoCardTest,
    ::testing::Values(
        NoCardCase{"NoReader", [] { memory::reset(); }, {"no card reader found"}},
        NoCardCase{
            "EmptyReader", [] { memory::removeCard(ReaderName); }, {"no card in reader: Reader 1"}},
        NoCardCase{"ForeignCard",
                   [] {
                       memory::removeCard(ReaderName);
                       memory::insertCard(ReaderName,
                                          std::make_shared<CardSimulator>(
                                              CardProfile::standard(CardType::Foreign)));
                   },
                   {"card not supported: in reader Reader 1"}},
        NoCardCase{"EmptyAndForeign",
                   [] {
                       memory::removeCard(ReaderName);
                       memory::addReader("Reader 2");
                       memory::insertCard("Reader 2",
                                          std::make_shared<CardSimulator>(
                                              CardProfile::standard(CardType::Foreign)));
                   },
                   {"no card in reader: Reader 1", "card not supported: in reader Reader 2"}}),
    [](auto const& info) { return std::string(info.param.name); });

TEST_F(EngineTest, PinBeforeInitSaysTheEngineIsNotInitialised) {
    EXPECT_EQ(ENGINE_ctrl_cmd_string(engine_, "PIN", Pin, 0), 0);
    EXPECT_EQ(takeErrorTexts(),
              std::vector<std::string>{"no card found: the engine is not initialised"});
}

TEST_F(EngineTest, RemovedCardIsNamedWithItsReaderAndAnInsertedOneIsFoundAgain) {
    initEngine();
    // The event thread has taken the card in; a removal before that would go unseen.
    ASSERT_TRUE(waitUntilCardIsQuiet(*card_));
    memory::removeCard(ReaderName);
    ASSERT_TRUE(waitUntil([] { return !hasCurrentCard(); }));
    EXPECT_EQ(ENGINE_ctrl_cmd_string(engine_, "PIN", Pin, 0), 0);
    EXPECT_EQ(takeErrorTexts(), std::vector<std::string>{"card removed: from reader Reader 1"});

    memory::insertCard(ReaderName, newCard());
    ASSERT_TRUE(waitUntil(hasCurrentCard));
    EXPECT_EQ(ENGINE_ctrl_cmd_string(engine_, "PIN", Pin, 0), 1) << takeErrorText();
}

}  // namespace
}  // namespace engine::test
