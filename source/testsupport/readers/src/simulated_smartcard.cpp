#include "testsupport/readers/simulated_smartcard.hpp"

#include <stdexcept>
#include <string>
#include <utility>

#include "iso7816/interchange/card_io.hpp"
#include "sclib/exceptions.hpp"

namespace testsupport::readers {

namespace {

class SimulatorIo : public iso7816::interchange::CardIo {
public:
    SimulatorIo(CardInsertion const& insertion, SimulatedSmartcard::TransmitHook const& hook)
        : insertion_(insertion), hook_(hook) {}

    using CardIo::Transmit;
    velk::basic_allocated_string<unsigned char> Transmit(unsigned char const* data,
                                                         std::size_t length) override {
        if (insertion_.removed()) {
            throw sclib::NoSmartcardError("Transmit failed: Token not found");
        }
        if (hook_) {
            hook_(testsupport::cardsim::ByteVector(data, data + length));
        }
        auto const reply = insertion_.card().transmit(data, length);
        return {reply.data(), reply.size()};
    }

private:
    CardInsertion const& insertion_;
    SimulatedSmartcard::TransmitHook const& hook_;
};

class SimulatorProvider final : public cardlayer::smartcard::SmartcardProvider {
public:
    SimulatorProvider(CardInsertion const& insertion, SimulatedSmartcard::TransmitHook const& hook)
        : io_(insertion, hook) {}

    iso7816::interchange::CardIo& getCardIo() override { return io_; }
    iso7816::interchange::CardIo const& getCardIo() const override { return io_; }

private:
    SimulatorIo io_;
};

}  // namespace

SimulatedSmartcard::SimulatedSmartcard(std::shared_ptr<testsupport::cardsim::CardSimulator> card)
    : SimulatedSmartcard(std::make_shared<CardInsertion>(std::move(card))) {}

SimulatedSmartcard::SimulatedSmartcard(std::shared_ptr<CardInsertion> insertion)
    : insertion_(std::move(insertion)), seenResets_(0) {
    if (!insertion_) {
        throw std::invalid_argument("SimulatedSmartcard: no card insertion");
    }
    // A reset before connecting is not reported to this card object.
    seenResets_ = insertion_->resetCount();
}

void SimulatedSmartcard::transaction(TransactionBody body) {
    if (insertion_->removed()) {
        throw sclib::NoSmartcardError("Unable to start session: Token not found");
    }
    if (auto const failure = insertion_->takeSessionFailure()) {
        std::rethrow_exception(failure);
    }
    bool wasReset = false;
    {
        std::lock_guard<std::mutex> lock(resetsMutex_);
        auto const resets = insertion_->resetCount();
        wasReset = resets != seenResets_;
        seenResets_ = resets;
    }
    ++transactions_;
    SimulatorProvider provider(*insertion_, transmitHook_);
    body(provider, wasReset);
}

iso7816::interchange::Atr SimulatedSmartcard::getAtr() const {
    auto const& atr = insertion_->card().atr();
    return iso7816::interchange::Atr(std::basic_string<unsigned char>(atr.begin(), atr.end()));
}

void SimulatedSmartcard::reset() {
    insertion_->reset();
}

void SimulatedSmartcard::remove() {
    insertion_->remove();
}

std::size_t SimulatedSmartcard::transactionCount() const {
    return transactions_.load();
}

void SimulatedSmartcard::setTransmitHook(TransmitHook hook) {
    transmitHook_ = std::move(hook);
}

}  // namespace testsupport::readers
