#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ctkwrapper/kv_observe.hpp"
#include "ctkwrapper/slot.hpp"

namespace ctkwrapper {

class SlotManagerImpl;

// The card service's list of readers. One per process.
class SlotManager {
public:
    // Throws UnexpectedCtkError "No access to TKSmartcardSlotManager (missing entitlement?)"
    // when the service cannot be used; the next call tries again.
    static SlotManager& getInstance();

    SlotManager(SlotManager const&) = delete;
    SlotManager& operator=(SlotManager const&) = delete;
    ~SlotManager();

    std::vector<std::string> getSlotNames() const;
    // Key path "slotNames".
    KvObservable getSlotObservable() const;
    // Blocks until the service answers; an unknown name gives an invalid slot.
    Slot slotNamed(std::string const& name) const;

private:
    SlotManager();

    std::unique_ptr<SlotManagerImpl> impl_;
};

}  // namespace ctkwrapper
