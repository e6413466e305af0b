#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "ctkwrapper/kv_observe.hpp"
#include "ctkwrapper/slot.hpp"

namespace ctkwrapper {

class SlotManagerImpl;

// How long slotNamed waits for the service's answer. Callers wait for a lookup while they hold
// locks (a reader's, a monitor's), so the wait is bounded like every other wait on the service.
constexpr std::chrono::seconds SlotLookupTimeout{10};

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
    // Waits for the service's answer, at most SlotLookupTimeout, then throws NoReplyError. An
    // unknown name gives an invalid slot.
    Slot slotNamed(std::string const& name) const;

private:
    SlotManager();

    std::unique_ptr<SlotManagerImpl> impl_;
};

}  // namespace ctkwrapper
