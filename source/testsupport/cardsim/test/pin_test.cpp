#include <gtest/gtest.h>

#include "simulator_test_util.hpp"

namespace testsupport::cardsim::test {
namespace {

ByteVector const Ok{0x90, 0x00};
ByteVector const VerifyStatus{0x00, 0x20, 0x00, 0x03};
ByteVector const RetryCounter{0x80, 0x34, 0x00, 0x03, 0x03};

ByteVector padded(std::string const& pin) {
    ByteVector bytes = text(pin);
    bytes.resize(15, 0x00);
    return bytes;
}

ByteVector changePin(CardSimulator& card, std::string const& oldPin, std::string const& newPin) {
    return card.transmit(concat({{0x00, 0x24, 0x00, 0x03, 0x1E}, padded(oldPin), padded(newPin)}));
}

class CardSimulatorPin : public ::testing::Test {
protected:
    CardSimulatorPin() { selectApplet(card); }

    CardSimulator card;
};

TEST_F(CardSimulatorPin, AcceptsThePinPaddedOrAsItIs) {
    EXPECT_EQ(verifyPin(card, "1234"), Ok);
    EXPECT_EQ(card.transmit({0x00, 0x20, 0x00, 0x03, 0x04, '1', '2', '3', '4'}), Ok);
    EXPECT_EQ(card.transmit({0x00, 0x20, 0x00, 0x03, 0x05, '1', '2', '3', '4', '5'}),
              (ByteVector{0x63, 0xC2}));
}

TEST_F(CardSimulatorPin, WrongPinsCountDownToABlockedObject) {
    EXPECT_EQ(verifyPin(card, "0000"), (ByteVector{0x63, 0xC2}));
    EXPECT_EQ(verifyPin(card, "0000"), (ByteVector{0x63, 0xC1}));
    EXPECT_EQ(verifyPin(card, "0000"), (ByteVector{0x63, 0xC0}));
    EXPECT_EQ(verifyPin(card, "1234"), (ByteVector{0x69, 0x83}));
    EXPECT_EQ(card.transmit(VerifyStatus), (ByteVector{0x69, 0x83}));
    EXPECT_EQ(card.transmit(RetryCounter), (ByteVector{0x03, 0x00, 0x81, 0x90, 0x00}));
    EXPECT_EQ(card.pinTriesRemaining(), 0);
}

TEST_F(CardSimulatorPin, TheRightPinRestoresTheTries) {
    EXPECT_EQ(verifyPin(card, "9999"), (ByteVector{0x63, 0xC2}));
    EXPECT_EQ(card.transmit(RetryCounter), (ByteVector{0x03, 0x02, 0x01, 0x90, 0x00}));
    EXPECT_EQ(verifyPin(card, "1234"), Ok);
    EXPECT_EQ(card.transmit(RetryCounter), (ByteVector{0x03, 0x03, 0x01, 0x90, 0x00}));
}

TEST_F(CardSimulatorPin, VerifyWithoutPinTellsWhetherTheChannelIsVerified) {
    EXPECT_EQ(card.transmit(VerifyStatus), (ByteVector{0x63, 0xC3}));
    verifyPin(card, "1234");
    EXPECT_EQ(card.transmit(VerifyStatus), Ok);
    verifyPin(card, "4321");
    EXPECT_EQ(card.transmit(VerifyStatus), (ByteVector{0x63, 0xC2}));
}

TEST_F(CardSimulatorPin, VerificationHoldsOnItsOwnChannelOnly) {
    card.transmit({0x00, 0x70, 0x00, 0x00, 0x01});
    selectApplet(card, 0x01);
    EXPECT_EQ(verifyPin(card, "1234", 0x01), Ok);
    EXPECT_EQ(card.transmit({0x01, 0x20, 0x00, 0x03}), Ok);
    EXPECT_EQ(card.transmit(VerifyStatus), (ByteVector{0x63, 0xC3}));
}

TEST_F(CardSimulatorPin, BlockingThePinUnverifiesEveryChannel) {
    card.transmit({0x00, 0x70, 0x00, 0x00, 0x01});
    selectApplet(card, 0x01);
    verifyPin(card, "1234", 0x01);
    for (int i = 0; i < 3; ++i) {
        verifyPin(card, "0000");
    }
    EXPECT_EQ(card.transmit({0x01, 0x20, 0x00, 0x03}), (ByteVector{0x69, 0x83}));
    EXPECT_EQ(card.transmit({0x81, 0x3D, 0x00, 0x03}), (ByteVector{0x69, 0x82}));
}

TEST_F(CardSimulatorPin, OtherObjectsAndMalformedPinsAreRefused) {
    EXPECT_EQ(card.transmit({0x00, 0x20, 0x00, 0x02, 0x04, '1', '2', '3', '4'}),
              (ByteVector{0x6A, 0x88}));
    EXPECT_EQ(card.transmit({0x00, 0x20, 0x01, 0x03, 0x04, '1', '2', '3', '4'}),
              (ByteVector{0x6A, 0x86}));
    EXPECT_EQ(card.transmit(concat({{0x00, 0x20, 0x00, 0x03, 0x10}, padded("1234"), {0x00}})),
              (ByteVector{0x67, 0x00}));
    EXPECT_EQ(card.transmit({0x80, 0x34, 0x00, 0x02, 0x03}), (ByteVector{0x6A, 0x88}));
    EXPECT_EQ(card.transmit({0x80, 0x34, 0x01, 0x03, 0x02}), (ByteVector{0x6A, 0x88}));
    EXPECT_EQ(card.pinTriesRemaining(), 3);
}

TEST(CardSimulatorPinObject, SecondGenerationCardsUsePinObjectTwo) {
    CardSimulator card(CardProfile::standard(CardType::Gen2));
    selectApplet(card);
    EXPECT_EQ(card.transmit(concat({{0x00, 0x20, 0x00, 0x02, 0x0F}, padded("1234")})),
              (ByteVector{0x90, 0x00}));
    EXPECT_EQ(verifyPin(card, "1234"), (ByteVector{0x6A, 0x88}));
}

TEST_F(CardSimulatorPin, ChangeWithTheOldPinReplacesIt) {
    EXPECT_EQ(changePin(card, "1234", "56789"), Ok);
    EXPECT_EQ(card.transmit(VerifyStatus), Ok);
    EXPECT_EQ(verifyPin(card, "1234"), (ByteVector{0x63, 0xC2}));
    EXPECT_EQ(verifyPin(card, "56789"), Ok);
}

TEST_F(CardSimulatorPin, ChangeWithAWrongOldPinCostsATry) {
    EXPECT_EQ(changePin(card, "1111", "56789"), (ByteVector{0x63, 0xC2}));
    EXPECT_EQ(verifyPin(card, "1234"), Ok);
}

TEST_F(CardSimulatorPin, ChangeRefusesPinsOutsideThePolicy) {
    EXPECT_EQ(changePin(card, "1234", "12"), (ByteVector{0x64, 0x00}));
    EXPECT_EQ(changePin(card, "1234", ""), (ByteVector{0x64, 0x00}));
    EXPECT_EQ(card.transmit({0x00, 0x24, 0x00, 0x03, 0x03, '1', '2', '3'}),
              (ByteVector{0x67, 0x00}));
    EXPECT_EQ(verifyPin(card, "1234"), Ok);
}

TEST_F(CardSimulatorPin, ChangeWithoutOldPinNeedsAVerifiedChannel) {
    ByteVector const setPin = concat({{0x00, 0x24, 0x01, 0x03, 0x0F}, padded("2468")});
    EXPECT_EQ(card.transmit(setPin), (ByteVector{0x69, 0x82}));
    verifyPin(card, "1234");
    EXPECT_EQ(card.transmit(setPin), Ok);
    EXPECT_EQ(verifyPin(card, "2468"), Ok);
}

TEST_F(CardSimulatorPin, DeauthenticateForgetsTheVerification) {
    card.transmit({0x00, 0x70, 0x00, 0x00, 0x01});
    selectApplet(card, 0x01);
    verifyPin(card, "1234");
    verifyPin(card, "1234", 0x01);

    EXPECT_EQ(card.transmit({0x80, 0x35, 0x00, 0x03}), Ok);
    EXPECT_EQ(card.transmit(VerifyStatus), (ByteVector{0x63, 0xC3}));
    EXPECT_EQ(card.transmit({0x01, 0x20, 0x00, 0x03}), Ok);

    verifyPin(card, "1234");
    EXPECT_EQ(card.transmit({0x80, 0x35, 0x80, 0x03}), Ok);
    EXPECT_EQ(card.transmit(VerifyStatus), (ByteVector{0x63, 0xC3}));
    EXPECT_EQ(card.transmit({0x01, 0x20, 0x00, 0x03}), (ByteVector{0x63, 0xC3}));

    EXPECT_EQ(card.transmit({0x80, 0x35, 0x00, 0x02}), (ByteVector{0x6A, 0x88}));
}

TEST_F(CardSimulatorPin, ExpiredPinIsReportedUntilChanged) {
    EXPECT_EQ(card.transmit({0x80, 0x3D, 0x00, 0x03}), (ByteVector{0x69, 0x82}));
    verifyPin(card, "1234");
    EXPECT_EQ(card.transmit({0x80, 0x3D, 0x00, 0x03}), Ok);
    EXPECT_EQ(card.transmit(RetryCounter), (ByteVector{0x03, 0x03, 0x02, 0x90, 0x00}));
    changePin(card, "1234", "4321");
    EXPECT_EQ(card.transmit(RetryCounter), (ByteVector{0x03, 0x03, 0x01, 0x90, 0x00}));
}

TEST_F(CardSimulatorPin, SecureMessagingIsOffAlready) {
    EXPECT_EQ(card.transmit({0x80, 0x3F, 0x00, 0x00}), Ok);
    EXPECT_EQ(card.transmit({0x80, 0x3F, 0x01, 0x00}), (ByteVector{0x6A, 0x86}));
    EXPECT_EQ(card.transmit({0x80, 0x3F, 0x00, 0x00, 0x01, 0x00}), (ByteVector{0x67, 0x00}));
}

TEST(CardSimulatorPinSettings, TheProfileSetsPinAndTries) {
    CardProfile profile = CardProfile::standard();
    profile.pin.value = velk::basic_allocated_string<char>("123456789012345");
    profile.pin.maxTries = 5;
    profile.pin.triesRemaining = 1;
    CardSimulator card(std::move(profile));
    selectApplet(card);
    EXPECT_EQ(card.transmit({0x80, 0x34, 0x00, 0x03, 0x03}),
              (ByteVector{0x05, 0x01, 0x01, 0x90, 0x00}));
    EXPECT_EQ(verifyPin(card, "123456789012345"), (ByteVector{0x90, 0x00}));
    EXPECT_EQ(card.pinTriesRemaining(), 5);
}

TEST(CardSimulatorPinSettings, ImpossibleSettingsAreRefused) {
    CardProfile tooLong = CardProfile::standard();
    tooLong.pin.value = velk::basic_allocated_string<char>("1234567890123456");
    EXPECT_THROW(CardSimulator{std::move(tooLong)}, std::invalid_argument);
    CardProfile tooManyTries = CardProfile::standard();
    tooManyTries.pin.maxTries = 16;
    EXPECT_THROW(CardSimulator{std::move(tooManyTries)}, std::invalid_argument);
    CardProfile noChannels = CardProfile::standard();
    noChannels.channelCount = 0;
    EXPECT_THROW(CardSimulator{std::move(noChannels)}, std::invalid_argument);
}

}  // namespace
}  // namespace testsupport::cardsim::test
