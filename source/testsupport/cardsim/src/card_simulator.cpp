#include "testsupport/cardsim/card_simulator.hpp"

#include <exception>

#include "card_state.hpp"
#include "command_dispatcher.hpp"
#include "fault_injector.hpp"
#include "response.hpp"
#include "status_words.hpp"

namespace testsupport::cardsim {

static_assert(CardSimulator::EveryTime == detail::FaultInjector::EveryTime);

struct CardSimulator::State {
    explicit State(CardProfile profile) : card(std::move(profile)) {}

    detail::CardState card;
    detail::FaultInjector faults;
    std::vector<Exchange> log;
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
    ByteVector const bytes =
        command == nullptr ? ByteVector{} : ByteVector(command, command + length);
    state_->log.push_back({bytes, response});
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
    return state_->log;
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

}  // namespace testsupport::cardsim
