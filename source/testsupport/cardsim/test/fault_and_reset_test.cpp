#include <gtest/gtest.h>

#include "simulator_test_util.hpp"

namespace testsupport::cardsim::test {
namespace {

ByteVector const Ok{0x90, 0x00};
ByteVector const GetSerial{0x00, 0xCA, 0x01, 0x00, 0x08};

class CardSimulatorFaults : public ::testing::Test {
protected:
    CardSimulatorFaults() { selectApplet(card); }

    CardSimulator card;
};

TEST_F(CardSimulatorFaults, ChosenStatusWordAnswersInsteadOfTheCommand) {
    card.failWith(0x20, 0x6F00);
    EXPECT_EQ(verifyPin(card, "0000"), (ByteVector{0x6F, 0x00}));
    EXPECT_EQ(card.pinTriesRemaining(), 3);
    EXPECT_EQ(verifyPin(card, "0000"), (ByteVector{0x63, 0xC2}));
}

TEST_F(CardSimulatorFaults, FaultHitsAsManyCommandsAsAsked) {
    card.failWith(0xCA, 0x6A82, 2);
    EXPECT_EQ(card.transmit(GetSerial), (ByteVector{0x6A, 0x82}));
    EXPECT_EQ(card.transmit(GetSerial), (ByteVector{0x6A, 0x82}));
    EXPECT_EQ(statusOf(card.transmit(GetSerial)), Ok);
}

TEST_F(CardSimulatorFaults, FaultForEveryTimeStaysUntilCleared) {
    card.failWith(0xCA, 0x6A82, CardSimulator::EveryTime);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(card.transmit(GetSerial), (ByteVector{0x6A, 0x82}));
    }
    card.clearFaults();
    EXPECT_EQ(statusOf(card.transmit(GetSerial)), Ok);
}

TEST_F(CardSimulatorFaults, EarliestArmedFaultAnswersFirst) {
    card.failWith(0xCA, 0x6581);
    card.answerOneByte(0xCA);
    EXPECT_EQ(card.transmit(GetSerial), (ByteVector{0x65, 0x81}));
    EXPECT_EQ(card.transmit(GetSerial), (ByteVector{0x90}));
}

TEST_F(CardSimulatorFaults, AnswerLongerThanLeCarriesOneByteMore) {
    card.answerLongerThanLe(0xCA);
    ByteVector const answer = card.transmit(GetSerial);
    EXPECT_EQ(answer.size(), 8U + 1U + 2U);
    EXPECT_EQ(statusOf(answer), Ok);
    card.answerLongerThanLe(0x22);
    EXPECT_EQ(card.transmit({0x00, 0x22, 0x41, 0xB6, 0x03, 0x84, 0x01, 0x01}).size(), 3U);
}

TEST_F(CardSimulatorFaults, ArmedReplyIsSentByteForByte) {
    card.answerWith(0x70, {0x05, 0x90, 0x00});
    EXPECT_EQ(card.transmit({0x00, 0x70, 0x00, 0x00, 0x01}), (ByteVector{0x05, 0x90, 0x00}));
    EXPECT_EQ(card.transmit({0x00, 0x70, 0x00, 0x00, 0x01}), (ByteVector{0x01, 0x90, 0x00}));
}

TEST_F(CardSimulatorFaults, MalformedCommandsAreRefusedBeforeAnyFault) {
    card.failWith(0xCA, 0x6F00);
    EXPECT_EQ(card.transmit({0x00, 0xCA, 0x01}), (ByteVector{0x67, 0x00}));
    EXPECT_EQ(card.transmit(GetSerial), (ByteVector{0x6F, 0x00}));
}

TEST(CardSimulatorLog, RecordsEveryExchangeInOrder) {
    CardSimulator card;
    card.transmit({0x00, 0x70, 0x00, 0x00, 0x01});
    card.transmit({0x00, 0xCA});
    card.failWith(0xA4, 0x6A82);
    selectApplet(card);
    std::vector<CardSimulator::Exchange> const log = card.log();
    ASSERT_EQ(log.size(), 3U);
    EXPECT_EQ(log[0].command, (ByteVector{0x00, 0x70, 0x00, 0x00, 0x01}));
    EXPECT_EQ(log[0].response, (ByteVector{0x01, 0x90, 0x00}));
    EXPECT_EQ(log[1].command, (ByteVector{0x00, 0xCA}));
    EXPECT_EQ(log[1].response, (ByteVector{0x67, 0x00}));
    EXPECT_EQ(log[2].command, concat({{0x00, 0xA4, 0x04, 0x00, 0x0C}, AppletAid}));
    EXPECT_EQ(log[2].response, (ByteVector{0x6A, 0x82}));
    card.clearLog();
    EXPECT_TRUE(card.log().empty());
}

TEST(CardSimulatorReset, ClosesChannelsAndForgetsSelectionAndVerification) {
    CardSimulator card;
    card.transmit({0x00, 0x70, 0x00, 0x00, 0x01});
    selectApplet(card);
    verifyPin(card, "1234");
    verifyPin(card, "0000");

    EXPECT_EQ(card.reset(), atrOf(CardType::Gen3));
    EXPECT_EQ(card.transmit({0x01, 0xA4, 0x04, 0x00}), (ByteVector{0x68, 0x81}));
    EXPECT_EQ(card.transmit({0x00, 0x20, 0x00, 0x03}), (ByteVector{0x69, 0x85}));
    selectApplet(card);
    // The tries belong to the card and survive the reset.
    EXPECT_EQ(card.transmit({0x00, 0x20, 0x00, 0x03}), (ByteVector{0x63, 0xC2}));
    EXPECT_EQ(card.transmit({0x00, 0x70, 0x00, 0x00, 0x01}), (ByteVector{0x01, 0x90, 0x00}));
}

struct TypeCase {
    CardType type;
    ByteVector atr;
    std::uint8_t pinObject;
};

void PrintTo(TypeCase const& c, std::ostream* out) {
    *out << hex(c.atr);
}

class CardSimulatorTypes : public ::testing::TestWithParam<TypeCase> {};

TEST_P(CardSimulatorTypes, AnswerToResetAndPinObjectFollowTheType) {
    CardSimulator card(CardProfile::standard(GetParam().type));
    EXPECT_EQ(card.atr(), GetParam().atr);
    EXPECT_EQ(card.reset(), GetParam().atr);
    EXPECT_EQ(pinObjectOf(GetParam().type), GetParam().pinObject);
    selectApplet(card);
    ByteVector verify{0x00, 0x20, 0x00, GetParam().pinObject, 0x04, '1', '2', '3', '4'};
    EXPECT_EQ(card.transmit(verify), Ok);
}

INSTANTIATE_TEST_SUITE_P(
    AcceptedAndForeign, CardSimulatorTypes,
    ::testing::Values(TypeCase{CardType::Gen2,
                               {0x3B, 0xFD, 0x18, 0x00, 0xFF, 0x81, 0x31, 0xFE,
                                0x45, 0x43, 0x49, 0x42, 0x47, 0x55, 0x5A, 0x49,
                                0x4A, 0x32, 0x41, 0x30, 0x38, 0x31, 0x58},
                               2},
                      TypeCase{CardType::Gen3,
                               {0x3B, 0xDC, 0x18, 0xFF, 0x81, 0x91, 0xFE, 0x1F, 0xC3, 0x06, 0x0A,
                                0x2B, 0x06, 0x01, 0x04, 0x01, 0xE9, 0x10, 0x05, 0x02, 0x03, 0xD1},
                               3},
                      TypeCase{CardType::Gen4,
                               {0x3B, 0xDC, 0x18, 0xFF, 0x81, 0x91, 0xFE, 0x1F, 0xC3, 0x06, 0x0A,
                                0x2B, 0x06, 0x01, 0x04, 0x01, 0xE9, 0x10, 0x05, 0x02, 0x04, 0xD6},
                               3},
                      TypeCase{CardType::PavlenSmartcard1,
                               {0x3B, 0xDC, 0x18, 0xFF, 0x81, 0x91, 0xFE, 0x1F, 0xC3, 0x06, 0x0A,
                                0x2B, 0x06, 0x01, 0x04, 0x01, 0xE9, 0x10, 0x05, 0x06, 0x01, 0xD7},
                               3},
                      // Historical bytes "FOREIGN CARD", closed by its check byte.
                      TypeCase{CardType::Foreign,
                               {0x3B, 0x8C, 0x80, 0x01, 0x46, 0x4F, 0x52, 0x45, 0x49, 0x47, 0x4E,
                                0x20, 0x43, 0x41, 0x52, 0x44, 0x67},
                               3}));

}  // namespace
}  // namespace testsupport::cardsim::test
