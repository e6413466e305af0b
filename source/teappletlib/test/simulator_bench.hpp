#pragma once

#include <cstddef>
#include <vector>

#include "cardlayer/rawtransmission/logger_provider.hpp"
#include "cardlayer/transmission/encoder_provider.hpp"
#include "iso7816/interchange/card_io.hpp"
#include "teappletlib/interchange/cmd/impl/apdu/command_provider.hpp"
#include "teappletlib/interchange/obj/driver/impl/cmd/cache_key.hpp"
#include "testsupport/cardsim/card_simulator.hpp"

namespace teappletlib::test {

using testsupport::cardsim::ByteVector;

// The raw I/O of a connected card, played by the simulator.
class SimulatorCardIo : public iso7816::interchange::CardIo {
public:
    explicit SimulatorCardIo(testsupport::cardsim::CardSimulator& card) : card_(card) {}

    using CardIo::Transmit;
    velk::basic_allocated_string<unsigned char> Transmit(unsigned char const* data,
                                                         std::size_t length) override {
        auto const reply = card_.transmit(data, length);
        return {reply.data(), reply.size()};
    }

private:
    testsupport::cardsim::CardSimulator& card_;
};

// Bytes read from the card, comparable with the simulator's own.
inline ByteVector vectorOf(velk::basic_allocated_string<unsigned char> const& bytes) {
    return ByteVector(bytes.begin(), bytes.end());
}

// The command bytes the card received, in order.
inline std::vector<ByteVector> commandsSent(testsupport::cardsim::CardSimulator const& card) {
    std::vector<ByteVector> commands;
    for (auto const& exchange : card.log()) {
        commands.push_back(exchange.command);
    }
    return commands;
}

// The first five bytes (class, instruction, P1, P2, Lc or Le) of the commands with instruction
// ins.
inline std::vector<ByteVector> headersOf(std::uint8_t ins, std::vector<ByteVector> const& sent) {
    std::vector<ByteVector> headers;
    for (auto const& command : sent) {
        if (command.size() >= 5 && command[1] == ins) {
            headers.emplace_back(command.begin(), command.begin() + 5);
        }
    }
    return headers;
}

// A simulated card with the applet selected on the basic channel, the command groups over it and
// a fresh per-operation cache: what the drivers of one transaction stand on. The card's log
// starts empty, so it holds only what the drivers send.
struct DriverBench {
    explicit DriverBench(
        testsupport::cardsim::CardProfile profile = testsupport::cardsim::CardProfile::standard())
        : card(std::move(profile)) {
        commands.getFileCommands().selectTessaroApplet();
        card.clearLog();
    }

    std::vector<ByteVector> sent() const { return commandsSent(card); }

    testsupport::cardsim::CardSimulator card;
    SimulatorCardIo io{card};
    ::cardlayer::rawtransmission::LoggerProvider raw{io};
    ::cardlayer::transmission::EncoderProvider encoder{raw};
    interchange::cmd::impl::apdu::CommandProvider commands{encoder};
    interchange::obj::driver::impl::cmd::KeyValueCache cache{
        std::make_shared<interchange::obj::driver::impl::cmd::KeyValueCache::Storage>()};
};

}  // namespace teappletlib::test
