#include "iso7816/interchange/cmd/impl/apdu/command_provider.hpp"

#include <gtest/gtest.h>

#include "testsupport/scripted_card.hpp"
#include "velk/exceptions.hpp"

namespace iso7816::interchange::cmd::impl::apdu {
namespace {

using testsupport::Bytes;
using testsupport::plain;
using testsupport::ScriptedCard;

class DataObjectCommandsTest : public ::testing::Test {
protected:
    ScriptedCard card;
    CommandProvider provider{card.transmit()};
    cmd::DataObjectCommands const& commands = provider.getDataObjectCommands();
};

TEST_F(DataObjectCommandsTest, GetDataSendsTagAndMaximumLength) {
    card.expect({0x00, 0xCA, 0x9F, 0x7F, 0x00}).answer({0x01, 0x02, 0x90, 0x00});
    card.expect({0x00, 0xCA, 0x01, 0x00, 0x08}).answer({0x90, 0x00});
    auto const full = commands.getData(DataTag{0x9F7F}, 256);
    ASSERT_TRUE(full);
    EXPECT_EQ(plain(*full), (Bytes{0x01, 0x02}));
    auto const empty = commands.getData(DataTag{0x0100}, 8);
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->empty());
}

TEST_F(DataObjectCommandsTest, MissingDataObjectIsEmpty) {
    card.expect({0x00, 0xCA, 0x01, 0x05, 0x10}).answer({0x6A, 0x88});
    EXPECT_FALSE(commands.getData(DataTag{0x0105}, 16));
}

TEST_F(DataObjectCommandsTest, OtherWordsGoToTheMapping) {
    card.expect({0x00, 0xCA, 0x01, 0x05, 0x10}).answer({0x69, 0x82});
    EXPECT_THROW(commands.getData(DataTag{0x0105}, 16),
                 velk::secure_elt_err::SecurityCondNotSatisfied);
}

TEST_F(DataObjectCommandsTest, MaximumLengthOutsideOneLeByteIsRefusedBeforeSending) {
    EXPECT_EQ(commands.getDataMaxLength(), 256u);
    EXPECT_THROW(commands.getData(DataTag{0x0100}, 0), velk::InputError);
    EXPECT_THROW(commands.getData(DataTag{0x0100}, 257), velk::InputError);
}

}  // namespace
}  // namespace iso7816::interchange::cmd::impl::apdu
