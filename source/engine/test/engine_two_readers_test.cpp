#include <openssl/engine.h>

#include "cardservice/memory/memory_service.hpp"
#include "engine_fixture.hpp"

namespace engine::test {
namespace {

std::string const Message = "signed with one of two cards";
constexpr char const* SecondReader = "Reader 2";

// Every signature begins with MANAGE SECURITY ENVIRONMENT, which nothing else sends.
std::size_t signaturesBegunOn(testsupport::cardsim::CardSimulator const& card) {
    std::size_t count = 0;
    for (auto const& exchange : card.log()) {
        count += exchange.command.size() > 1 && exchange.command[1] == 0x22;
    }
    return count;
}

// The card of "Reader 1" is current; another card comes into a second reader and becomes
// current.
TEST_F(EngineTest, KeyOfOneCardNeverSignsWithTheOtherCardOfASecondReader) {
    initEngine();
    ASSERT_EQ(ENGINE_ctrl_cmd_string(engine_, "PIN", Pin, 0), 1);
    PkeyPtr const firstKey = loadPrivateKey();
    ASSERT_TRUE(firstKey);
    ASSERT_TRUE(waitUntilCardIsQuiet(*card_));

    CardPtr const second = otherCard();
    cardservice::memory::addReader(SecondReader);
    cardservice::memory::insertCard(SecondReader, second);
    ASSERT_TRUE(waitUntil([&] { return !second->log().empty(); }));
    ASSERT_TRUE(waitUntilCardIsQuiet(*second));
    ASSERT_EQ(ENGINE_ctrl_cmd_string(engine_, "PIN", Pin, 0), 1);
    EXPECT_TRUE(signMessage(firstKey.get(), Message).empty());
    EXPECT_EQ(takeErrorText().rfind("card changed", 0), 0u);
    EXPECT_EQ(signaturesBegunOn(*second), 0u);

    // The removal of the card that is no longer current leaves the current one.
    PkeyPtr const secondKey = loadPrivateKey();
    ASSERT_TRUE(secondKey);
    cardservice::memory::removeCard(ReaderName);
    ASSERT_TRUE(waitUntilCardIsQuiet(*second));
    EXPECT_TRUE(hasCurrentCard());
    EXPECT_TRUE(verifiesWithCardCertificate(Message, signMessage(secondKey.get(), Message)))
        << takeErrorText();
}

}  // namespace
}  // namespace engine::test
