#include "ctkwrapper/slot.hpp"

#include <utility>

#include "ctkwrapper/errors.hpp"
#include "kv_observable_impl.hpp"
#include "slot_impl.hpp"
#include "smartcard_impl.hpp"

namespace ctkwrapper {

SlotState toSlotState(std::int64_t value) {
    // Compared unsigned, so that negative values are refused as well.
    if (static_cast<std::uint64_t>(value) > static_cast<std::uint64_t>(SlotState::ValidCard)) {
        throw UnexpectedCtkError("Invalid slot state: " + std::to_string(value));
    }
    return static_cast<SlotState>(value);
}

std::string SlotImpl::getName() const {
    return slot_ ? slot_->name() : std::string();
}

SlotState SlotImpl::getState() const {
    return slot_ ? toSlotState(slot_->state()) : SlotState::Missing;
}

KvObservable SlotImpl::getStateObservable() const {
    return KvObservable(std::make_unique<KvObservableImpl>(slot_, "state"));
}

Smartcard SlotImpl::makeSmartcard() {
    return Smartcard(std::make_unique<SmartcardImpl>(slot_ ? slot_->makeSmartCard() : nullptr));
}

Slot::Slot() = default;
Slot::Slot(std::unique_ptr<SlotImpl> impl) : impl_(std::move(impl)) {}
Slot::Slot(Slot&& other) noexcept = default;
Slot& Slot::operator=(Slot&& other) noexcept = default;
Slot::~Slot() = default;

bool Slot::isValid() const {
    return impl_->isValid();
}

std::string Slot::getName() const {
    return impl_->getName();
}

SlotState Slot::getState() const {
    return impl_->getState();
}

KvObservable Slot::getStateObservable() const {
    return impl_->getStateObservable();
}

Smartcard Slot::makeSmartcard() {
    return impl_->makeSmartcard();
}

}  // namespace ctkwrapper
