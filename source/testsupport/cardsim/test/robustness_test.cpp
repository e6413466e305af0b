#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "simulator_test_util.hpp"

namespace testsupport::cardsim::test {
namespace {

// The response bytes a command admits, read from its bytes alone: none without an Le byte,
// 256 for Le 00, none for anything that is not a short APDU.
std::size_t admittedLength(ByteVector const& command) {
    auto const ne = [](std::uint8_t le) { return le == 0 ? std::size_t{256} : std::size_t{le}; };
    if (command.size() == 5) {
        return ne(command[4]);
    }
    if (command.size() > 5 && command[4] != 0 && command.size() == 6U + command[4]) {
        return ne(command.back());
    }
    return 0;
}

// Data, then 90 00 or an error or warning word of ISO 7816-4; data only with 90 00 and never
// more than the command admits.
void expectWellFormed(ByteVector const& command, ByteVector const& answer) {
    ASSERT_GE(answer.size(), 2U) << hex(command);
    ByteVector const sw = statusOf(answer);
    bool const success = sw == ByteVector{0x90, 0x00};
    EXPECT_TRUE(success || (sw[0] >= 0x62 && sw[0] <= 0x6F)) << hex(command) << " -> " << hex(sw);
    if (answer.size() > 2) {
        EXPECT_TRUE(success) << hex(command) << " -> " << hex(answer);
        EXPECT_LE(answer.size() - 2, admittedLength(command)) << hex(command);
    }
}

// A card in the middle of a signing session: applet selected and PIN verified on the basic
// channel and on channel 1, the signature key set and the buffer filled.
std::unique_ptr<CardSimulator> busyCard() {
    auto card = std::make_unique<CardSimulator>();
    card->transmit({0x00, 0x70, 0x00, 0x00, 0x01});
    for (std::uint8_t cla : {0x00, 0x01}) {
        selectApplet(*card, cla);
        verifyPin(*card, "1234", cla);
    }
    card->transmit({0x00, 0x22, 0x41, 0xB6, 0x06, 0x84, 0x01, 0x01, 0x80, 0x01, 0x02});
    card->transmit(concat({{0x00, 0xD6, 0xFF, 0x00, 0x20}, ByteVector(0x20, 0x33)}));
    return card;
}

// Runs `rounds` commands from `next` against busy cards, a fresh one every 100 commands so
// that blocked PINs and closed channels do not hide the rest of the applet.
void fuzz(unsigned seed, int rounds, std::function<ByteVector(std::mt19937&)> const& next) {
    std::mt19937 random(seed);
    std::unique_ptr<CardSimulator> card;
    std::size_t sent = 0;
    for (int i = 0; i < rounds; ++i) {
        if (i % 100 == 0) {
            card = busyCard();
            sent = card->log().size();
        }
        ByteVector const command = next(random);
        expectWellFormed(command, card->transmit(command));
        ++sent;
        if (i % 100 == 99) {
            EXPECT_EQ(card->log().size(), sent);
            // Whatever it was sent, the card comes back from a reset.
            card->reset();
            EXPECT_EQ(selectApplet(*card), (ByteVector{0x90, 0x00}));
            EXPECT_EQ(card->transmit({0x00, 0xCA, 0x01, 0x00, 0x08}),
                      (ByteVector{0x00, 0x19, 0x00, 0x73, 0x52, 0x00, 0x64, 0x01, 0x90, 0x00}));
        }
        if (::testing::Test::HasFailure()) {
            return;
        }
    }
}

std::uint8_t randomByte(std::mt19937& random) {
    return static_cast<std::uint8_t>(std::uniform_int_distribution<int>(0, 255)(random));
}

std::size_t below(std::mt19937& random, std::size_t bound) {
    return std::uniform_int_distribution<std::size_t>(0, bound - 1)(random);
}

// Commands the applet carries out, one or more per handler, the way the library sends them.
std::vector<ByteVector> const& validCommands() {
    static std::vector<ByteVector> const commands{
        {0x00, 0x70, 0x00, 0x00, 0x01},
        {0x00, 0x70, 0x80, 0x01},
        {0x00, 0x70, 0x00, 0x02, 0x01},
        concat({{0x00, 0xA4, 0x04, 0x00, 0x0C}, AppletAid, {0x00}}),
        {0x00, 0xA4, 0x00, 0x00, 0x02, 0x3F, 0x00, 0x09},
        {0x00, 0xA4, 0x00, 0x00, 0x02, 0x43, 0x02, 0x09},
        {0x00, 0xA4, 0x00, 0x0C, 0x02, 0x50, 0x32},
        {0x00, 0xB0, 0x00, 0x00, 0x00},
        {0x00, 0xB0, 0x00, 0x10, 0x08},
        {0x00, 0xD6, 0x00, 0x02, 0x02, 0xAA, 0xBB},
        {0x00, 0xD6, 0xFF, 0x10, 0x04, 0x01, 0x02, 0x03, 0x04},
        {0x80, 0xE2, 0x00, 0x00, 0x02, 0x00, 0x40},
        {0x80, 0xE0, 0x20, 0x06, 0x12, 0x10, 0x01, 0x06, 0x11, 0x01, 0x02, 0x12,
         0x02, 0x00, 0x10, 0x04, 0x02, 0x01, 0x00, 0x05, 0x02, 0x01, 0x00},
        {0x80, 0xE0, 0x30, 0x00, 0x0E, 0x10, 0x01, 0x20, 0x11, 0x01, 0x01, 0x12, 0x02, 0x00, 0x08,
         0x08, 0x02, 0x01, 0x00},
        {0x00, 0xCA, 0x01, 0x00, 0x08},
        {0x00, 0xCA, 0x01, 0x01, 0x0A},
        {0x00, 0xCA, 0x01, 0x05, 0x00},
        concat({{0x00, 0x20, 0x00, 0x03, 0x0F}, text("1234"), ByteVector(11, 0x00)}),
        {0x00, 0x20, 0x00, 0x03},
        concat({{0x00, 0x24, 0x00, 0x03, 0x08}, text("12345678")}),
        concat({{0x00, 0x24, 0x01, 0x03, 0x04}, text("1234")}),
        {0x80, 0x34, 0x00, 0x03, 0x03},
        {0x80, 0x34, 0x01, 0x03, 0x02},
        {0x80, 0x35, 0x00, 0x03},
        {0x80, 0x35, 0x80, 0x03},
        {0x80, 0x3D, 0x00, 0x03},
        {0x80, 0x3F, 0x00, 0x00},
        {0x00, 0x22, 0x41, 0xB6, 0x06, 0x84, 0x01, 0x01, 0x80, 0x01, 0x02},
        {0x00, 0x22, 0x41, 0xB8, 0x06, 0x84, 0x01, 0x02, 0x80, 0x01, 0x02},
        {0x80, 0x2A, 0x9E, 0x9A, 0x04, 0x00, 0x00, 0x00, 0x20, 0x00},
        {0x80, 0x2A, 0x80, 0x86, 0x04, 0x00, 0x00, 0x01, 0x00, 0x00},
        {0x80, 0x3A, 0x01, 0x01, 0x00},
        {0x80, 0x3A, 0x02, 0x02, 0x00},
    };
    return commands;
}

// One to three edits of a valid command: a flipped bit, a changed, inserted or dropped byte,
// a cut, or a new length byte.
ByteVector mutated(std::mt19937& random) {
    std::vector<ByteVector> const& valid = validCommands();
    ByteVector command = valid[below(random, valid.size())];
    std::size_t const edits = 1 + below(random, 3);
    for (std::size_t e = 0; e < edits; ++e) {
        std::size_t const at = command.empty() ? 0 : below(random, command.size());
        switch (below(random, 6)) {
            case 0:
                if (!command.empty()) {
                    command[at] ^= static_cast<std::uint8_t>(1U << below(random, 8));
                }
                break;
            case 1:
                if (!command.empty()) {
                    command[at] = randomByte(random);
                }
                break;
            case 2:
                command.insert(command.begin() + static_cast<std::ptrdiff_t>(at),
                               randomByte(random));
                break;
            case 3:
                if (!command.empty()) {
                    command.erase(command.begin() + static_cast<std::ptrdiff_t>(at));
                }
                break;
            case 4:
                command.resize(below(random, command.size() + 1));
                break;
            default:
                if (command.size() > 4) {
                    command[4] = randomByte(random);
                }
                break;
        }
    }
    return command;
}

TEST(CardSimulatorRobustness, RandomBytesGetWellFormedAnswers) {
    fuzz(7, 2000, [](std::mt19937& random) {
        ByteVector command(below(random, 270));
        for (auto& b : command) {
            b = randomByte(random);
        }
        return command;
    });
}

TEST(CardSimulatorRobustness, MutatedCommandsGetWellFormedAnswers) {
    fuzz(11, 4000, mutated);
}

TEST(CardSimulatorRobustness, EveryInstructionWithAnyParametersGetsAWellFormedAnswer) {
    std::uint8_t const classes[] = {0x00, 0x01, 0x03, 0x80, 0x81, 0x40, 0xC0, 0x10, 0x0C};
    std::uint8_t const instructions[] = {0x70, 0xA4, 0xB0, 0xD6, 0xE0, 0xE2, 0xCA, 0x20,
                                         0x24, 0x22, 0x34, 0x35, 0x3D, 0x3F, 0x3A, 0x2A};
    fuzz(13, 4000, [&](std::mt19937& random) {
        ByteVector command{classes[below(random, std::size(classes))],
                           instructions[below(random, std::size(instructions))],
                           below(random, 4) == 0 ? std::uint8_t{0} : randomByte(random),
                           randomByte(random)};
        if (std::size_t const lc = below(random, 40); lc > 0) {
            command.push_back(static_cast<std::uint8_t>(lc));
            for (std::size_t k = 0; k < lc; ++k) {
                command.push_back(randomByte(random));
            }
        }
        if (below(random, 2) == 0) {
            command.push_back(randomByte(random));
        }
        return command;
    });
}

}  // namespace
}  // namespace testsupport::cardsim::test
