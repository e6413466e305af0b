#include "iso7816/interchange/cmd/impl/apdu/selection_commands.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "iso7816/interchange/exceptions.hpp"
#include "testsupport/scripted_card.hpp"
#include "velk/exceptions.hpp"

namespace iso7816::interchange::cmd::impl::apdu {
namespace {

using ::testing::StrEq;
using ::testing::ThrowsMessage;
using testsupport::ScriptedCard;
namespace err = velk::secure_elt_err;

Aid const AppletAid({0xA0, 0x00, 0x00, 0x00, 0x63, 0x50, 0x4B, 0x43, 0x53, 0x2D, 0x31, 0x35});

class SelectionCommandsTest : public ::testing::Test {
protected:
    ScriptedCard card;
    SelectionCommands commands{card.transmit()};
};

TEST_F(SelectionCommandsTest, SelectSendsAidWithoutLe) {
    card.expect({0x00, 0xA4, 0x04, 0x00, 0x0C, 0xA0, 0x00, 0x00, 0x00, 0x63, 0x50, 0x4B, 0x43, 0x53,
                 0x2D, 0x31, 0x35})
        .answer({0x90, 0x00});
    EXPECT_TRUE(commands.select(AppletAid));
}

TEST_F(SelectionCommandsTest, SelectOfMissingApplicationIsFalse) {
    card.expect({0x00, 0xA4, 0x04, 0x00, 0x02, 0x3F, 0x00}).answer({0x6A, 0x82});
    EXPECT_FALSE(commands.select(Aid({0x3F, 0x00})));
}

TEST_F(SelectionCommandsTest, SelectHandsOtherWordsToTheMapping) {
    card.expect({0x00, 0xA4, 0x04, 0x00, 0x02, 0x3F, 0x00}).answer({0x6A, 0x86});
    EXPECT_THAT(
        [&] {
            commands.select(Aid({0x3F, 0x00}));
        },
        ThrowsMessage<err::PersistentStateError>(StrEq("Checking error: 6a86")));
}

TEST_F(SelectionCommandsTest, OpenChannelReturnsTheCardsChannel) {
    card.expect({0x00, 0x70, 0x00, 0x00, 0x01}).answer({0x02, 0x90, 0x00});
    boost::optional<ChannelId> const channel = commands.openChannel();
    ASSERT_TRUE(channel);
    EXPECT_EQ(*channel, ChannelId{2});
}

TEST_F(SelectionCommandsTest, OpenChannelWithoutFreeChannelIsEmpty) {
    card.expect({0x00, 0x70, 0x00, 0x00, 0x01}).answer({0x6A, 0x81});
    EXPECT_FALSE(commands.openChannel());
}

TEST_F(SelectionCommandsTest, OpenChannelOnCardWithoutChannelsThrows) {
    card.expect({0x00, 0x70, 0x00, 0x00, 0x01}).answer({0x68, 0x81});
    EXPECT_THAT([&] { commands.openChannel(); }, ThrowsMessage<LogicalChannelsNotSupported>(
                                                     StrEq("Logical channels are not supported")));
}

TEST_F(SelectionCommandsTest, OpenChannelWithoutChannelByteIsInvalid) {
    card.expect({0x00, 0x70, 0x00, 0x00, 0x01}).answer({0x90, 0x00});
    EXPECT_THAT([&] { commands.openChannel(); },
                ThrowsMessage<err::ResponseError>(StrEq("Invalid response")));
}

TEST_F(SelectionCommandsTest, OpenChannelHandsOtherWordsToTheMapping) {
    card.expect({0x00, 0x70, 0x00, 0x00, 0x01}).answer({0x69, 0x86});
    EXPECT_THAT([&] { commands.openChannel(); },
                ThrowsMessage<err::CommandNotAllowed>(StrEq("Command currently not allowed")));
}

TEST_F(SelectionCommandsTest, OpeningAGivenChannelIsFalseWhenTheCardRefusesIt) {
    card.expect({0x00, 0x70, 0x00, 0x02, 0x01}).answer({0x02, 0x90, 0x00});
    card.expect({0x00, 0x70, 0x00, 0x03, 0x01}).answer({0x68, 0x81});
    card.expect({0x00, 0x70, 0x00, 0x03, 0x01}).answer({0x6A, 0x86});
    card.expect({0x00, 0x70, 0x00, 0x03, 0x01}).answer({0x6A, 0x81});
    EXPECT_TRUE(commands.openChannel(ChannelId{2}));
    EXPECT_FALSE(commands.openChannel(ChannelId{3}));
    EXPECT_FALSE(commands.openChannel(ChannelId{3}));
    EXPECT_THROW(commands.openChannel(ChannelId{3}), err::PersistentStateError);
}

TEST_F(SelectionCommandsTest, ClosingIsFalseOnAWarningAndMapsOtherWords) {
    card.expect({0x00, 0x70, 0x80, 0x03}).answer({0x90, 0x00});
    card.expect({0x00, 0x70, 0x80, 0x03}).answer({0x62, 0x00});
    card.expect({0x00, 0x70, 0x80, 0x03}).answer({0x69, 0x85});
    EXPECT_TRUE(commands.closeChannel(ChannelId{3}));
    EXPECT_FALSE(commands.closeChannel(ChannelId{3}));
    EXPECT_THAT([&] { commands.closeChannel(ChannelId{3}); },
                ThrowsMessage<err::PreconditionError>(StrEq("Some precondition was not met")));
}

TEST_F(SelectionCommandsTest, BasicChannelIsNeverOpenedOrClosed) {
    EXPECT_THAT([&] { commands.openChannel(BasicChannel); },
                ThrowsMessage<err::WrongData>(StrEq("Default channel cannot be opened")));
    EXPECT_THAT([&] { commands.closeChannel(BasicChannel); },
                ThrowsMessage<err::WrongData>(StrEq("Default channel cannot be closed")));
}

}  // namespace
}  // namespace iso7816::interchange::cmd::impl::apdu
