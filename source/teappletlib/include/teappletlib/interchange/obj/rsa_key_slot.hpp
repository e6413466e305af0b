#pragma once

#include <memory>
#include <utility>

#include "teappletlib/interchange/obj/driver/rsa_key_slot_driver.hpp"

namespace teappletlib::interchange::obj {

// An RSA key slot of the card. Valid only inside the card transaction that handed it out.
class RsaKeySlot {
public:
    explicit RsaKeySlot(std::shared_ptr<driver::RsaKeySlotDriver> driver)
        : driver_(std::move(driver)) {}

    KeyId getId() const { return driver_->getId(); }
    bool exists() const { return driver_->exists(); }
    bool deletePart(KeyPart part) { return driver_->deletePart(part); }
    std::basic_string<unsigned char> sign(velk::basic_allocated_string<unsigned char> const& data,
                                          HashAlg hashAlg) const {
        return driver_->sign(data, hashAlg);
    }
    boost::multiprecision::cpp_int getModulus() const { return driver_->getModulus(); }
    boost::multiprecision::cpp_int getPublicExponent() const {
        return driver_->getPublicExponent();
    }

private:
    std::shared_ptr<driver::RsaKeySlotDriver> driver_;
};

}  // namespace teappletlib::interchange::obj
