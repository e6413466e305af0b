#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "card_bench.hpp"
#include "sclib/exceptions.hpp"
#include "velk/exceptions.hpp"

namespace pavlenenabler::test {
namespace {

using enabler::AuthenticationObject;
using iface::KeyCertType;
using teappletlib::interchange::PinVerifyResult;
using Bytes = iface::Smartcard::Bytes;

Bytes const Block{0x30, 0x31, 0x30, 0x0D, 0x06, 0x09, 0x60, 0x86, 0x48, 0x01, 0x65,
                  0x03, 0x04, 0x02, 0x01, 0x05, 0x00, 0x04, 0x20, 0x01, 0x02, 0x03};

// The VERIFY commands among commands.
std::vector<ByteVector> verifiesIn(std::vector<ByteVector> const& commands) {
    std::vector<ByteVector> result;
    std::copy_if(
        commands.begin(), commands.end(), std::back_inserter(result),
        [](ByteVector const& command) { return command.size() > 1 && command[1] == 0x20; });
    return result;
}

bool sendsSignature(std::vector<ByteVector> const& commands) {
    auto const instructions = instructionsOf(commands);
    return std::count(instructions.begin(), instructions.end(), 0x2A) == 1;
}

struct LoginCase {
    char const* name;
    std::string pin;      // given to login
    std::string cardPin;  // what the card holds
    std::string sent;     // the characters VERIFY carries before its NUL filling
    bool verified;
};

class LoginTest : public ::testing::TestWithParam<LoginCase> {};

TEST_P(LoginTest, PinIsSentFittedToFifteenBytesAndPresentedAgainBySigning) {
    auto profile = CardProfile::standard();
    profile.pin.value = GetParam().cardPin.c_str();
    CardBench bench(profile);
    auto const result = bench.card->login(GetParam().pin.c_str());
    EXPECT_EQ(result.verified, GetParam().verified);
    EXPECT_EQ(bench.sent(), (std::vector<ByteVector>{openChannel(), selectApplet(1),
                                                     verify(1, GetParam().sent)}));
    if (GetParam().verified) {
        bench.card->sign(KeyCertType::Authentication, Block);
        EXPECT_EQ(verifiesIn(bench.sent()), (std::vector<ByteVector>{verify(1, GetParam().sent)}));
    } else {
        EXPECT_THROW(bench.card->sign(KeyCertType::Authentication, Block),
                     velk::AuthenticationRequired);
        EXPECT_TRUE(bench.sent().empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Pins, LoginTest,
                         ::testing::Values(LoginCase{"Short", "1234", "1234", "1234", true},
                                           LoginCase{"TwentyCharacters", "12345678901234567890",
                                                     "123456789012345", "123456789012345", true},
                                           LoginCase{"Empty", "", "1234", "", false}),
                         [](auto const& info) { return std::string(info.param.name); });

TEST(SmartcardPinTest, RejectedPinIsNotCached) {
    CardBench bench;
    EXPECT_EQ(bench.card->login("9999"), (PinVerifyResult{false, 2}));
    bench.sent();

    EXPECT_THROW(bench.card->sign(KeyCertType::Authentication, Block),
                 velk::AuthenticationRequired);
    EXPECT_THROW(bench.card->sign(KeyCertType::Signature, Block), velk::AuthenticationRequired);
    EXPECT_TRUE(bench.sent().empty());
    EXPECT_EQ(bench.simulator->pinTriesRemaining(), 2);
    EXPECT_EQ(bench.card->getLoginTriesRemaining(), 2u);
}

TEST(SmartcardPinTest, RejectedLoginForgetsTheEarlierPin) {
    CardBench bench;
    ASSERT_TRUE(bench.card->login("1234").verified);
    EXPECT_FALSE(bench.card->login("9999").verified);
    bench.sent();

    EXPECT_THROW(bench.card->sign(KeyCertType::Authentication, Block),
                 velk::AuthenticationRequired);
    EXPECT_TRUE(bench.sent().empty());
}

// The PIN changed on the card through another connection after this object logged in.
TEST(SmartcardPinTest, PinRejectedWhileSigningIsForgottenBeforeAnyCryptoCommand) {
    CardBench bench;
    ASSERT_TRUE(bench.card->login("1234").verified);
    enabler::Smartcard other(
        std::make_unique<testsupport::readers::SimulatedSmartcard>(bench.simulator), "Reader A",
        AuthenticationObject::CardGen3Pin);
    ASSERT_TRUE(other.changePin("1234", "5678"));
    bench.sent();

    try {
        bench.card->sign(KeyCertType::Authentication, Block);
        ADD_FAILURE() << "signed with a PIN the card no longer has";
    } catch (velk::AuthenticationRequired const&) {
    }
    auto const sent = bench.sent();
    EXPECT_EQ(verifiesIn(sent).size(), 1u);
    EXPECT_EQ(instructionsOf(sent).back(), 0x20);  // no security environment, no signature
    EXPECT_EQ(bench.simulator->pinTriesRemaining(), 2);

    EXPECT_THROW(bench.card->sign(KeyCertType::Authentication, Block),
                 velk::AuthenticationRequired);
    EXPECT_TRUE(bench.sent().empty());
    EXPECT_EQ(bench.simulator->pinTriesRemaining(), 2);
}

TEST(SmartcardPinTest, PinBlockedElsewhereEndsTheLoginWithoutSigning) {
    CardBench bench;
    ASSERT_TRUE(bench.card->login("1234").verified);
    enabler::Smartcard other(
        std::make_unique<testsupport::readers::SimulatedSmartcard>(bench.simulator), "Reader A",
        AuthenticationObject::CardGen3Pin);
    for (int i = 0; i < 3; ++i) {
        other.login("0000");
    }
    ASSERT_EQ(bench.simulator->pinTriesRemaining(), 0);
    bench.sent();

    EXPECT_THROW(bench.card->sign(KeyCertType::Signature, Block), velk::AuthenticationRequired);
    EXPECT_FALSE(sendsSignature(bench.sent()));
    EXPECT_THROW(bench.card->sign(KeyCertType::Signature, Block), velk::AuthenticationRequired);
    EXPECT_TRUE(bench.sent().empty());
}

TEST(SmartcardPinTest, TriesLeftComeFromTheRetryCounter) {
    CardBench bench;
    EXPECT_EQ(bench.card->getLoginTriesRemaining(), 3u);
    bench.card->login("0000");
    EXPECT_EQ(bench.card->getLoginTriesRemaining(), 2u);
    bench.card->login("1234");
    EXPECT_EQ(bench.card->getLoginTriesRemaining(), 3u);
    EXPECT_EQ(instructionsOf(bench.sent()),
              (std::vector<std::uint8_t>{0x70, 0xA4, 0x34, 0x20, 0x34, 0x20, 0x34}));
}

TEST(SmartcardPinTest, LogoutOnACardThatHasGoneForgetsThePin) {
    CardBench bench;
    ASSERT_TRUE(bench.card->login("1234").verified);
    bench.connection->remove();
    EXPECT_THROW(bench.card->logout(), sclib::NoSmartcardError);
    auto const transactions = bench.connection->transactionCount();
    EXPECT_THROW(bench.card->sign(KeyCertType::Authentication, Block),
                 velk::AuthenticationRequired);
    EXPECT_EQ(bench.connection->transactionCount(), transactions);
}

TEST(SmartcardPinTest, LogoutDropsTheCardsVerifiedState) {
    CardBench bench;
    ASSERT_TRUE(bench.card->login("1234").verified);
    bench.card->logout();
    EXPECT_EQ(bench.sent().back(), (ByteVector{0x81, 0x35, 0x00, 0x03}));
    EXPECT_THROW(bench.card->sign(KeyCertType::Authentication, Block),
                 velk::AuthenticationRequired);
}

TEST(SmartcardPinTest, ChangedPinIsCachedAndUsedBySigning) {
    CardBench bench;
    EXPECT_TRUE(bench.card->changePin("1234", "24680"));
    bench.sent();
    bench.card->sign(KeyCertType::Authentication, Block);
    EXPECT_EQ(verifiesIn(bench.sent()), (std::vector<ByteVector>{verify(1, "24680")}));
}

TEST(SmartcardPinTest, RefusedPinChangeForgetsThePin) {
    CardBench bench;
    ASSERT_TRUE(bench.card->login("1234").verified);
    EXPECT_FALSE(bench.card->changePin("9999", "24680"));
    EXPECT_EQ(bench.simulator->pinTriesRemaining(), 2);
    EXPECT_THROW(bench.card->sign(KeyCertType::Authentication, Block),
                 velk::AuthenticationRequired);
}

TEST(SmartcardPinTest, SerialNumberKeepsItsZeroBytes) {
    CardBench bench;
    EXPECT_EQ(bench.card->getSerialNumber(), std::string("\x00\x19\x00\x73\x52\x00\x64\x01", 8));
}

}  // namespace
}  // namespace pavlenenabler::test
