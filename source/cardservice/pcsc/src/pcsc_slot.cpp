#include "pcsc_slot.hpp"

#include "pcsc_card.hpp"

namespace cardservice::impl::pcsc {

PcscSlot::PcscSlot(std::string name, ReaderState initial, AtrBytes atr)
    : name_(std::move(name)), reader_(initial), state_(initial.slotState), atr_(std::move(atr)) {}

std::int64_t PcscSlot::state() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return state_;
}

std::optional<AtrBytes> PcscSlot::atr() const {
    std::lock_guard<std::mutex> lock(mutex_);
    if (state_ != StateValidCard && state_ != StateMuteCard) {
        return std::nullopt;
    }
    return atr_;
}

std::shared_ptr<Card> PcscSlot::makeSmartCard() {
    if (state() != StateValidCard) {
        return nullptr;
    }
    return PcscCard::connect(shared_from_this());
}

KeyValueObservable::ObservationId PcscSlot::addObserver(std::string const& keyPath,
                                                        unsigned options, ChangeCallback callback) {
    std::lock_guard<std::recursive_mutex> publishing(publishing_);
    return observers_.add(keyPath, options, std::move(callback), state());
}

void PcscSlot::removeObserver(ObservationId id) {
    std::lock_guard<std::recursive_mutex> publishing(publishing_);
    observers_.remove(id);
}

void PcscSlot::update(ReaderState now, AtrBytes atr) {
    std::vector<std::int64_t> changes;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (state_ == StateMissing) {
            return;
        }
        changes = stateChanges(reader_, now);
        reader_ = now;
        atr_ = std::move(atr);
    }
    publish_(changes);
}

void PcscSlot::markMissing() {
    publish_({StateMissing});
}

void PcscSlot::reportReset() {
    std::int64_t const current = state();
    if (current == StateValidCard || current == StateMuteCard) {
        publish_({StateProbing, current});
    }
}

void PcscSlot::publish_(std::vector<std::int64_t> const& states) {
    std::lock_guard<std::recursive_mutex> publishing(publishing_);
    for (std::int64_t const state : states) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (state_ == StateMissing) {
                return;
            }
            state_ = state;
        }
        observers_.notify(state);
    }
}

}  // namespace cardservice::impl::pcsc
