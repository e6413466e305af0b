#pragma once

#include <memory>
#include <string>

#include "cardservice/card_service.hpp"
#include "ctkwrapper/slot.hpp"

namespace ctkwrapper {

// A slot of the service, or null when a lookup found none. A null slot reads as a reader that
// is gone: no name, state Missing, no card, nothing to observe.
class SlotImpl {
public:
    explicit SlotImpl(std::shared_ptr<cardservice::Slot> slot) : slot_(std::move(slot)) {}

    bool isValid() const { return slot_ != nullptr; }
    std::string getName() const;
    SlotState getState() const;
    KvObservable getStateObservable() const;
    Smartcard makeSmartcard();

private:
    std::shared_ptr<cardservice::Slot> const slot_;
};

}  // namespace ctkwrapper
