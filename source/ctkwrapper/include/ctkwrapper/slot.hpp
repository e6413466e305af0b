#pragma once

#include <memory>
#include <string>

#include "ctkwrapper/kv_observe.hpp"
#include "ctkwrapper/slot_state.hpp"
#include "ctkwrapper/smartcard.hpp"

namespace ctkwrapper {

class SlotImpl;

// One reader of the card service. Move-only; a lookup that found nothing gives an invalid slot.
class Slot {
public:
    Slot();
    explicit Slot(std::unique_ptr<SlotImpl> impl);
    Slot(Slot&& other) noexcept;
    Slot& operator=(Slot&& other) noexcept;
    ~Slot();

    bool isValid() const;
    std::string getName() const;
    // Throws UnexpectedCtkError "Invalid slot state: " and the number for a value above 4 or
    // below 0.
    SlotState getState() const;
    // Key path "state".
    KvObservable getStateObservable() const;
    // Invalid when the slot holds no usable card.
    Smartcard makeSmartcard();

private:
    std::unique_ptr<SlotImpl> impl_;
};

// The state value a service reported, checked as getState checks it.
SlotState toSlotState(std::int64_t value);

}  // namespace ctkwrapper
