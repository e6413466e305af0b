#include "ctkwrapper/slot_manager.hpp"

#include <future>
#include <utility>

#include "ctkwrapper/errors.hpp"
#include "kv_observable_impl.hpp"
#include "slot_impl.hpp"
#include "slot_manager_impl.hpp"

namespace ctkwrapper {

SlotManagerImpl::SlotManagerImpl() : manager_(cardservice::SlotManager::defaultManager()) {
    if (!manager_) {
        throw UnexpectedCtkError("No access to TKSmartcardSlotManager (missing entitlement?)");
    }
}

std::vector<std::string> SlotManagerImpl::getSlotNames() const {
    return manager_->slotNames();
}

KvObservable SlotManagerImpl::getSlotObservable() const {
    return KvObservable(std::make_unique<KvObservableImpl>(manager_, "slotNames"));
}

Slot SlotManagerImpl::slotNamed(std::string const& name) const {
    // Shared, because the reply must be copyable and may come after this wait has given up;
    // the service calls it exactly once.
    auto found = std::make_shared<std::promise<std::shared_ptr<cardservice::Slot>>>();
    auto slot = found->get_future();
    manager_->getSlotWithName(
        name, [found](std::shared_ptr<cardservice::Slot> reply) { found->set_value(reply); });
    if (slot.wait_for(SlotLookupTimeout) != std::future_status::ready) {
        throw NoReplyError("No answer from the card service to the lookup of reader " + name);
    }
    return Slot(std::make_unique<SlotImpl>(slot.get()));
}

SlotManager& SlotManager::getInstance() {
    // A constructor that throws leaves the static uninitialised, so the next call tries again.
    static SlotManager instance;
    return instance;
}

SlotManager::SlotManager() : impl_(std::make_unique<SlotManagerImpl>()) {}
SlotManager::~SlotManager() = default;

std::vector<std::string> SlotManager::getSlotNames() const {
    return impl_->getSlotNames();
}

KvObservable SlotManager::getSlotObservable() const {
    return impl_->getSlotObservable();
}

Slot SlotManager::slotNamed(std::string const& name) const {
    return impl_->slotNamed(name);
}

}  // namespace ctkwrapper
