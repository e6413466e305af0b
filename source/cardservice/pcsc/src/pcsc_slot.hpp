#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "cardservice/card_service.hpp"
#include "observer_list.hpp"
#include "reader_state.hpp"

namespace cardservice::impl::pcsc {

// One PC/SC reader. The monitor thread tells it what the daemon reports; a card of this
// reader tells it of a reset that only the card could see.
class PcscSlot : public Slot, public std::enable_shared_from_this<PcscSlot> {
public:
    PcscSlot(std::string name, ReaderState initial, AtrBytes atr);

    std::string name() const override { return name_; }
    std::int64_t state() const override;
    std::shared_ptr<Card> makeSmartCard() override;
    std::optional<AtrBytes> atr() const override;

    ObservationId addObserver(std::string const& keyPath, unsigned options,
                              ChangeCallback callback) override;
    void removeObserver(ObservationId id) override;

    // What the daemon now reports of the reader.
    void update(ReaderState now, AtrBytes atr);
    // The reader has gone; Missing is final.
    void markMissing();
    // Another application reset the card: Probing, then the card's state again.
    void reportReset();

private:
    // Takes publishing_ first: each state is stored, then reported, before the next one.
    void publish_(std::vector<std::int64_t> const& states);

    std::string const name_;
    // Keeps state changes, initial calls and removals in order, so no observer sees an older
    // state after a newer one, nor a call after its removal. Callbacks run under it, so it is
    // recursive: a callback may add and remove observations of this slot.
    std::recursive_mutex publishing_;
    mutable std::mutex mutex_;  // the fields below
    ReaderState reader_;
    std::int64_t state_;
    AtrBytes atr_;
    ObserverList observers_{"state"};
};

}  // namespace cardservice::impl::pcsc
