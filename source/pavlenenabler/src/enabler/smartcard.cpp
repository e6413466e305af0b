#include "pavlenenabler/enabler/smartcard.hpp"

#include <utility>

#include "card_pin.hpp"
#include "teappletlib/interchange/obj/driver/impl/cmd/object_driver_cmd.hpp"

namespace pavlenenabler::enabler {

using teappletlib::interchange::cmd::CommandProvider;
using teappletlib::interchange::obj::ObjectProvider;
namespace driver = teappletlib::interchange::obj::driver::impl::cmd;

Smartcard::Smartcard(std::unique_ptr<sclib::Smartcard> card, std::string readerName,
                     AuthenticationObject authenticationObject)
    : commStack_(
          std::make_unique<CommStack>(std::move(card),
                                      [this](iso7816::interchange::Apdu const& apdu,
                                             iso7816::interchange::ApduResponse const& response,
                                             std::chrono::milliseconds const& duration) {
                                          latencies_.add(apdu, response, duration);
                                      })),
      readerName_(std::move(readerName)),
      authenticationObject_(authenticationObject),
      directoryCache_(std::make_unique<SmartcardCacheHelper>()) {}

Smartcard::~Smartcard() = default;

void Smartcard::perform_(Work const& work) {
    commStack_->perform([&work](CommandProvider& commands) {
        // Nothing of this cache survives the operation.
        driver::KeyValueCache cache(std::make_shared<driver::KeyValueCache::Storage>());
        driver::ObjectDriverCmd objectDriver(commands, cache);
        ObjectProvider objects(objectDriver);
        work(objects, commands);
    });
}

std::string Smartcard::getSerialNumber() {
    std::lock_guard<std::mutex> const lock(operationMutex_);
    std::string serial;
    perform_([&serial](ObjectProvider& objects, CommandProvider&) {
        auto const number = objects.getInfoManager().getSerialNumber();
        serial.assign(number.get().begin(), number.get().end());
    });
    return serial;
}

std::string Smartcard::getReaderName() {
    return readerName_;
}

boost::optional<iso7816::interchange::ChannelId> Smartcard::getChannelId() {
    return commStack_->getChannelId();
}

Smartcard::PinVerifyResult Smartcard::login(Pin const& pin) {
    std::lock_guard<std::mutex> const lock(operationMutex_);
    // Logged out unless the card accepts this PIN: a rejected PIN presented again by every
    // signature would use up the card's tries.
    pin_.reset();
    Pin const fitted = detail::fitPin(pin);
    PinVerifyResult result{};
    perform_([&](ObjectProvider& objects, CommandProvider&) {
        result = objects.getAuthObject(detail::authObjectIdOf(authenticationObject_))
                     ->authenticatePin(fitted);
    });
    if (result.verified) {
        pin_ = pin;
    }
    return result;
}

std::uint32_t Smartcard::getLoginTriesRemaining() {
    std::lock_guard<std::mutex> const lock(operationMutex_);
    std::uint32_t remaining = 0;
    perform_([&](ObjectProvider& objects, CommandProvider&) {
        remaining = objects.getAuthObject(detail::authObjectIdOf(authenticationObject_))
                        ->getRetryCounter()
                        .remaining;
    });
    return remaining;
}

void Smartcard::logout() {
    std::lock_guard<std::mutex> const lock(operationMutex_);
    pin_.reset();
    perform_([&](ObjectProvider& objects, CommandProvider&) {
        objects.getAuthObject(detail::authObjectIdOf(authenticationObject_))->deauthenticate();
    });
}

bool Smartcard::changePin(Pin const& oldPin, Pin const& newPin) {
    std::lock_guard<std::mutex> const lock(operationMutex_);
    // Whatever the outcome, the cached PIN is no longer the card's unless the change succeeded.
    pin_.reset();
    Pin const fittedOld = detail::fitPin(oldPin);
    Pin const fittedNew = detail::fitPin(newPin);
    bool changed = false;
    perform_([&](ObjectProvider& objects, CommandProvider&) {
        changed = objects.getAuthObject(detail::authObjectIdOf(authenticationObject_))
                      ->changePin(fittedOld, fittedNew)
                      .verified;
    });
    if (changed) {
        pin_ = newPin;
    }
    return changed;
}

}  // namespace pavlenenabler::enabler
