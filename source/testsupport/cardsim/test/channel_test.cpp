#include <gtest/gtest.h>

#include "simulator_test_util.hpp"

namespace testsupport::cardsim::test {
namespace {

ByteVector const OpenAnyChannel{0x00, 0x70, 0x00, 0x00, 0x01};

TEST(CardSimulatorChannels, OpensTheLowestFreeChannelUntilNoneIsLeft) {
    CardSimulator card;
    EXPECT_EQ(card.transmit(OpenAnyChannel), (ByteVector{0x01, 0x90, 0x00}));
    EXPECT_EQ(card.transmit(OpenAnyChannel), (ByteVector{0x02, 0x90, 0x00}));
    EXPECT_EQ(card.transmit(OpenAnyChannel), (ByteVector{0x03, 0x90, 0x00}));
    EXPECT_EQ(card.transmit(OpenAnyChannel), (ByteVector{0x6A, 0x81}));
    EXPECT_EQ(card.transmit({0x00, 0x70, 0x80, 0x02}), (ByteVector{0x90, 0x00}));
    EXPECT_EQ(card.transmit(OpenAnyChannel), (ByteVector{0x02, 0x90, 0x00}));
}

TEST(CardSimulatorChannels, CardWithOnlyTheBasicChannelAnswers6A81) {
    CardProfile profile = CardProfile::standard();
    profile.channelCount = 1;
    CardSimulator card(std::move(profile));
    EXPECT_EQ(card.transmit(OpenAnyChannel), (ByteVector{0x6A, 0x81}));
}

TEST(CardSimulatorChannels, CardWithoutLogicalChannelsAnswers6881) {
    CardProfile profile = CardProfile::standard();
    profile.logicalChannelsSupported = false;
    CardSimulator card(std::move(profile));
    EXPECT_EQ(card.transmit(OpenAnyChannel), (ByteVector{0x68, 0x81}));
    EXPECT_EQ(card.transmit({0x00, 0x70, 0x80, 0x01}), (ByteVector{0x68, 0x81}));
}

TEST(CardSimulatorChannels, OpenWithoutLeIsToldTheLengthToAskFor) {
    CardSimulator card;
    EXPECT_EQ(card.transmit({0x00, 0x70, 0x00, 0x00}), (ByteVector{0x6C, 0x01}));
    EXPECT_EQ(card.transmit(OpenAnyChannel), (ByteVector{0x01, 0x90, 0x00}));
}

TEST(CardSimulatorChannels, OpensAndClosesNamedChannels) {
    CardSimulator card;
    EXPECT_EQ(card.transmit({0x00, 0x70, 0x00, 0x02, 0x01}), (ByteVector{0x90, 0x00}));
    EXPECT_EQ(card.transmit({0x00, 0x70, 0x00, 0x02, 0x01}), (ByteVector{0x6A, 0x86}));
    EXPECT_EQ(card.transmit({0x00, 0x70, 0x00, 0x04, 0x01}), (ByteVector{0x68, 0x81}));
    EXPECT_EQ(card.transmit({0x00, 0x70, 0x80, 0x02}), (ByteVector{0x90, 0x00}));
    EXPECT_EQ(card.transmit({0x00, 0x70, 0x80, 0x02}), (ByteVector{0x62, 0x00}));
    EXPECT_EQ(card.transmit({0x00, 0x70, 0x80, 0x00}), (ByteVector{0x6A, 0x86}));
    EXPECT_EQ(card.transmit({0x00, 0x70, 0x40, 0x00}), (ByteVector{0x6A, 0x86}));
}

TEST(CardSimulatorChannels, ClosingWithP2ZeroClosesTheChannelOfTheCommand) {
    CardSimulator card;
    card.transmit(OpenAnyChannel);
    EXPECT_EQ(card.transmit({0x01, 0x70, 0x80, 0x00}), (ByteVector{0x90, 0x00}));
    EXPECT_EQ(card.transmit({0x01, 0x70, 0x80, 0x00}), (ByteVector{0x68, 0x81}));
}

TEST(CardSimulatorChannels, ChannelComesFromTheClassBitsOfEveryCommand) {
    CardSimulator card;
    card.transmit(OpenAnyChannel);
    EXPECT_EQ(selectApplet(card, 0x01), (ByteVector{0x90, 0x00}));
    // The applet is selected on channel 1 only, in both the ISO and the applet's class.
    EXPECT_EQ(card.transmit({0x01, 0x20, 0x00, 0x03}), (ByteVector{0x63, 0xC3}));
    EXPECT_EQ(card.transmit({0x00, 0x20, 0x00, 0x03}), (ByteVector{0x69, 0x85}));
    EXPECT_EQ(card.transmit({0x81, 0x34, 0x00, 0x03, 0x03}),
              (ByteVector{0x03, 0x03, 0x01, 0x90, 0x00}));
    EXPECT_EQ(card.transmit({0x80, 0x34, 0x00, 0x03, 0x03}), (ByteVector{0x69, 0x85}));
    EXPECT_EQ(card.transmit({0x02, 0x20, 0x00, 0x03}), (ByteVector{0x68, 0x81}));
}

TEST(CardSimulatorChannels, ChannelsFromFourUpUseTheFurtherInterindustryClass) {
    CardProfile profile = CardProfile::standard();
    profile.channelCount = 6;
    CardSimulator card(std::move(profile));
    for (std::uint8_t expected = 1; expected <= 5; ++expected) {
        EXPECT_EQ(card.transmit(OpenAnyChannel), (ByteVector{expected, 0x90, 0x00}));
    }
    EXPECT_EQ(selectApplet(card, 0x41), (ByteVector{0x90, 0x00}));
    EXPECT_EQ(card.transmit({0x41, 0x20, 0x00, 0x03}), (ByteVector{0x63, 0xC3}));
    EXPECT_EQ(card.transmit({0xC1, 0x34, 0x00, 0x03, 0x03}),
              (ByteVector{0x03, 0x03, 0x01, 0x90, 0x00}));
    EXPECT_EQ(card.transmit({0x40, 0x20, 0x00, 0x03}), (ByteVector{0x69, 0x85}));
    EXPECT_EQ(card.transmit({0x42, 0x20, 0x00, 0x03}), (ByteVector{0x68, 0x81}));
}

class CardSimulatorRefusals : public ::testing::TestWithParam<CommandCase> {};

TEST_P(CardSimulatorRefusals, AnswerWithTheStatusWordOfTheFault) {
    CardSimulator card;
    selectApplet(card);
    EXPECT_EQ(card.transmit(GetParam().command), GetParam().answer);
}

INSTANTIATE_TEST_SUITE_P(
    ClassInstructionAndLength, CardSimulatorRefusals,
    ::testing::Values(
        CommandCase{{0xFF, 0xA4, 0x04, 0x00}, {0x6E, 0x00}},        // invalid class
        CommandCase{{0x20, 0xA4, 0x04, 0x00}, {0x6E, 0x00}},        // reserved class
        CommandCase{{0x0C, 0x20, 0x00, 0x03}, {0x68, 0x82}},        // secure messaging
        CommandCase{{0x10, 0x20, 0x00, 0x03}, {0x68, 0x84}},        // command chaining
        CommandCase{{0x60, 0x20, 0x00, 0x03}, {0x68, 0x82}},        // secure messaging, channel 4
        CommandCase{{0x00, 0x34, 0x00, 0x03, 0x03}, {0x6E, 0x00}},  // applet command, ISO class
        CommandCase{{0x80, 0x20, 0x00, 0x03}, {0x6E, 0x00}},        // ISO command, applet class
        CommandCase{{0x00, 0x46, 0x00, 0x01}, {0x6D, 0x00}},        // unknown instruction
        CommandCase{{}, {0x67, 0x00}},                              // nothing
        CommandCase{{0x00, 0xA4, 0x04}, {0x67, 0x00}},              // short header
        CommandCase{{0x00, 0xA4, 0x04, 0x00, 0x05, 0x01}, {0x67, 0x00}},  // Lc beyond the data
        CommandCase{{0x00, 0xA4, 0x04, 0x00, 0x01, 0x01, 0x02, 0x03}, {0x67, 0x00}},  // data beyond
        CommandCase{{0x00, 0xB0, 0x00, 0x00, 0x00, 0x01, 0x00}, {0x67, 0x00}}));  // extended length

}  // namespace
}  // namespace testsupport::cardsim::test
