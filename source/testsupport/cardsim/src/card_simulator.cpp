#include "testsupport/cardsim/card_simulator.hpp"

#include <exception>

#include "card_state.hpp"
#include "command_dispatcher.hpp"
#include "fault_injector.hpp"
#include "response.hpp"
#include "status_words.hpp"
#include "velk/allocated_string.hpp"

namespace testsupport::cardsim {

static_assert(CardSimulator::EveryTime == detail::FaultInjector::EveryTime);

namespace {

// Commands carry PINs and the data to sign, answers deciphered keys: the log keeps them in
// memory that is erased when freed.
using SecretBytes = velk::basic_allocated_string<unsigned char>;

struct LoggedExchange {
    SecretBytes command;
    SecretBytes response;
};

ByteVector plainCopy(SecretBytes const& bytes) {
    return ByteVector(bytes.begin(), bytes.end());
}

}  // namespace

struct CardSimulator::State {
    explicit State(CardProfile profile) : card(std::move(profile)) {}

    detail::CardState card;
    detail::FaultInjector faults;
    std::vector<LoggedExchange> log;
};

CardSimulator::CardSimulator(CardProfile profile)
    : state_(std::make_unique<State>(std::move(profile))) {}

CardSimulator::~CardSimulator() = default;

ByteVector CardSimulator::transmit(std::uint8_t const* command, std::size_t length) {
    std::lock_guard<std::mutex> lock(mutex_);
    ByteVector response;
    try {
        detail::DecodedCommand decoded = detail::decodeCommand(command, length);
        if (!decoded.command) {
            response = detail::encode(detail::status(decoded.refusal));
        } else if (auto fault = state_->faults.take(*decoded.command)) {
            response = std::move(*fault);
        } else {
            response = detail::encode(detail::dispatch(state_->card, *decoded.command));
        }
    } catch (std::exception const&) {
        // Nothing may escape a card: any failure inside (out of memory) is "no diagnosis".
        response = detail::encode(detail::status(detail::sw::NoPreciseDiagnosis));
    }
    SecretBytes logged = command == nullptr ? SecretBytes{} : SecretBytes(command, length);
    state_->log.push_back({std::move(logged), SecretBytes(response.data(), response.size())});
    return response;
}

ByteVector const& CardSimulator::reset() {
    std::lock_guard<std::mutex> lock(mutex_);
    state_->card.reset();
    return state_->card.profile.atr;
}

ByteVector const& CardSimulator::atr() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return state_->card.profile.atr;
}

std::vector<CardSimulator::Exchange> CardSimulator::log() const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<Exchange> exchanges;
    exchanges.reserve(state_->log.size());
    for (LoggedExchange const& exchange : state_->log) {
        exchanges.push_back({plainCopy(exchange.command), plainCopy(exchange.response)});
    }
    return exchanges;
}

void CardSimulator::clearLog() {
    std::lock_guard<std::mutex> lock(mutex_);
    state_->log.clear();
}

void CardSimulator::failWith(std::uint8_t ins, std::uint16_t statusWord, unsigned times) {
    std::lock_guard<std::mutex> lock(mutex_);
    state_->faults.armReply(ins, detail::encode(detail::status(statusWord)), times);
}

void CardSimulator::answerOneByte(std::uint8_t ins, unsigned times) {
    std::lock_guard<std::mutex> lock(mutex_);
    state_->faults.armReply(ins, {0x90}, times);
}

void CardSimulator::answerLongerThanLe(std::uint8_t ins, unsigned times) {
    std::lock_guard<std::mutex> lock(mutex_);
    state_->faults.armOverlongReply(ins, times);
}

void CardSimulator::answerWith(std::uint8_t ins, ByteVector reply, unsigned times) {
    std::lock_guard<std::mutex> lock(mutex_);
    state_->faults.armReply(ins, std::move(reply), times);
}

void CardSimulator::clearFaults() {
    std::lock_guard<std::mutex> lock(mutex_);
    state_->faults.clear();
}

std::uint8_t CardSimulator::pinTriesRemaining() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return state_->card.pin.triesRemaining();
}

std::vector<std::uint8_t> CardSimulator::openChannels() const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<std::uint8_t> open;
    auto const& channels = state_->card.channels;
    for (std::size_t id = 1; id < channels.size(); ++id) {
        if (channels[id].open) {
            open.push_back(static_cast<std::uint8_t>(id));
        }
    }
    return open;
}

}  // namespace testsupport::cardsim
