#pragma once

#include "teappletlib/interchange/cmd/command_provider.hpp"
#include "teappletlib/interchange/obj/driver/rsa_key_slot_driver.hpp"

namespace teappletlib::interchange::obj::driver::impl::cmd {

class RsaKeySlotDriverCmd : public RsaKeySlotDriver {
public:
    RsaKeySlotDriverCmd(interchange::cmd::CommandProvider& provider, KeyId id)
        : provider_(provider), id_(id) {}

    KeyId getId() const override { return id_; }
    bool exists() const override;
    bool deletePart(KeyPart part) override;
    // MANAGE SECURITY ENVIRONMENT, the data into the crypto input buffer, then the signature.
    std::basic_string<unsigned char> sign(velk::basic_allocated_string<unsigned char> const& data,
                                          HashAlg hashAlg) const override;
    // Both throw velk::secure_elt_err::RefDataNotFound "Key not found" for an empty slot.
    boost::multiprecision::cpp_int getModulus() const override;
    boost::multiprecision::cpp_int getPublicExponent() const override;

private:
    boost::multiprecision::cpp_int readComponent_(interchange::cmd::RsaComponent component) const;

    interchange::cmd::CommandProvider& provider_;
    KeyId id_;
};

}  // namespace teappletlib::interchange::obj::driver::impl::cmd
