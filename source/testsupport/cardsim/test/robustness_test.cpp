#include <memory>
#include <random>

#include <gtest/gtest.h>

#include "simulator_test_util.hpp"

namespace testsupport::cardsim::test {
namespace {

// An answer is the data and two status bytes; data only ever comes with 90 00.
void expectWellFormed(ByteVector const& command, ByteVector const& answer) {
    ASSERT_GE(answer.size(), 2U);
    if (answer.size() > 2) {
        EXPECT_EQ(statusOf(answer), (ByteVector{0x90, 0x00}));
        // Le bounds the data: 256 at most, and none without an Le byte.
        EXPECT_LE(answer.size() - 2, 256U);
        EXPECT_GE(command.size(), 5U);
    }
}

TEST(CardSimulatorRobustness, AnswersRandomBytesWithWellFormedResponses) {
    CardSimulator card;
    std::mt19937 random(7);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> length(0, 270);
    for (int i = 0; i < 5000; ++i) {
        ByteVector command(static_cast<std::size_t>(length(random)));
        for (auto& b : command) {
            b = static_cast<std::uint8_t>(byte(random));
        }
        expectWellFormed(command, card.transmit(command));
    }
}

TEST(CardSimulatorRobustness, AnswersCommandsOfEveryInstructionWithAnyParameters) {
    std::uint8_t const instructions[] = {0x70, 0xA4, 0xB0, 0xD6, 0xCA, 0x20, 0x24,
                                         0x22, 0x34, 0x35, 0x3D, 0x3A, 0x2A};
    std::uint8_t const classes[] = {0x00, 0x01, 0x03, 0x80, 0x81, 0x40, 0xC0};
    std::unique_ptr<CardSimulator> card;
    std::mt19937 random(11);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> dataLength(0, 255);
    for (int i = 0; i < 20000; ++i) {
        // A fresh card now and then, before random commands block or change its PIN.
        if (i % 200 == 0) {
            card = std::make_unique<CardSimulator>();
            selectApplet(*card);
            verifyPin(*card, "1234");
        }
        ByteVector command{
            classes[static_cast<std::size_t>(byte(random)) % std::size(classes)],
            instructions[static_cast<std::size_t>(byte(random)) % std::size(instructions)],
            static_cast<std::uint8_t>(byte(random) % 4 == 0 ? 0 : byte(random)),
            static_cast<std::uint8_t>(byte(random))};
        if (std::size_t const lc = static_cast<std::size_t>(dataLength(random)) % 40; lc > 0) {
            command.push_back(static_cast<std::uint8_t>(lc));
            for (std::size_t k = 0; k < lc; ++k) {
                command.push_back(static_cast<std::uint8_t>(byte(random)));
            }
        }
        if (byte(random) % 2 == 0) {
            command.push_back(static_cast<std::uint8_t>(byte(random)));
        }
        expectWellFormed(command, card->transmit(command));
    }
}

}  // namespace
}  // namespace testsupport::cardsim::test
