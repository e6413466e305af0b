#include <memory>
#include <mutex>

#include "cardservice/card_service.hpp"
#include "pcsc_slot_manager.hpp"

namespace cardservice {

// Tried again on every call until it works, so that a daemon started later is found.
std::shared_ptr<SlotManager> SlotManager::defaultManager() {
    static std::mutex mutex;
    static std::shared_ptr<impl::pcsc::PcscSlotManager> manager;
    std::lock_guard<std::mutex> lock(mutex);
    if (!manager) {
        manager = impl::pcsc::PcscSlotManager::create();
    }
    return manager;
}

}  // namespace cardservice
