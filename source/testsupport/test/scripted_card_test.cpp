#include "testsupport/scripted_card.hpp"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <stdexcept>

namespace testsupport {
namespace {

Bytes send(ScriptedCard& card, Bytes const& command) {
    return plain(card.Transmit(command.data(), command.size()));
}

TEST(ScriptedCard, AnswersExpectedCommandsInOrder) {
    ScriptedCard card;
    card.expect({0x00, 0x70, 0x00, 0x00, 0x01}).answer({0x01, 0x90, 0x00});
    card.expect({0x01, 0xA4, 0x04, 0x00}).answer({0x6A, 0x82});
    EXPECT_EQ(card.remaining(), 2u);
    EXPECT_EQ(send(card, {0x00, 0x70, 0x00, 0x00, 0x01}), (Bytes{0x01, 0x90, 0x00}));
    EXPECT_EQ(send(card, {0x01, 0xA4, 0x04, 0x00}), (Bytes{0x6A, 0x82}));
    EXPECT_EQ(card.remaining(), 0u);
}

TEST(ScriptedCard, ServesApduTransmitThroughTheEncoder) {
    ScriptedCard card;
    card.expect({0x00, 0xCA, 0x01, 0x00, 0x08}).answer({0x01, 0x90, 0x00});
    iso7816::interchange::ApduResponse const response = card.transmit().Transmit(
        iso7816::interchange::Apdu(iso7816::interchange::ApduIns{0xCA}, 0x01, 0x00, 8));
    EXPECT_EQ(response.GetCode().GetValue(), 0x9000);
    EXPECT_EQ(plain(response.GetData()), Bytes{0x01});
}

TEST(ScriptedCard, AnEmptyAnswerIsAllowed) {
    ScriptedCard card;
    card.expect({0x00, 0x00, 0x00, 0x00}).answer({});
    EXPECT_EQ(send(card, {0x00, 0x00, 0x00, 0x00}), Bytes{});
}

TEST(ScriptedCard, DifferentCommandFailsTheTest) {
    ScriptedCard card;
    card.expect({0x00, 0xA4, 0x04, 0x00}).answer({0x90, 0x00});
    Bytes reply;
    EXPECT_NONFATAL_FAILURE(reply = send(card, {0x00, 0xA4, 0x04, 0x0C}),
                            "expected command 00 a4 04 00");
    EXPECT_EQ(reply, (Bytes{0x6F, 0x00}));
}

TEST(ScriptedCard, CommandBeyondTheScriptFailsTheTest) {
    ScriptedCard card;
    EXPECT_NONFATAL_FAILURE(send(card, {0x00, 0xB0, 0x00, 0x00}), "unexpected command 00 b0 00 00");
}

TEST(ScriptedCard, ExpectationWithoutAnswerFailsTheTest) {
    ScriptedCard card;
    card.expect({0x00, 0xB0, 0x00, 0x00});
    EXPECT_NONFATAL_FAILURE(send(card, {0x00, 0xB0, 0x00, 0x00}), "no answer scripted");
}

TEST(ScriptedCard, UnsentCommandFailsTheTestAtTheEnd) {
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedCard card;
            card.expect({0x00, 0x70, 0x80, 0x01}).answer({0x90, 0x00});
        },
        "expected command never sent: 00 70 80 01");
}

TEST(ScriptedCard, ScriptedFailureIsThrownByTheCardIo) {
    ScriptedCard card;
    card.expect({0x00, 0xB0, 0x00, 0x00}).fail(std::runtime_error("card removed"));
    EXPECT_THROW(send(card, {0x00, 0xB0, 0x00, 0x00}), std::runtime_error);
    EXPECT_EQ(card.remaining(), 0u);
}

}  // namespace
}  // namespace testsupport
