#include "teappletlib/interchange/obj/driver/impl/cmd/rsa_key_slot_driver_cmd.hpp"

#include "der/decode_big_endian.hpp"
#include "teappletlib/interchange/obj/driver/impl/cmd/crypto_input_buffer.hpp"
#include "velk/exceptions.hpp"

namespace teappletlib::interchange::obj::driver::impl::cmd {

using interchange::cmd::RsaComponent;

bool RsaKeySlotDriverCmd::exists() const {
    auto const& crypto = provider_.getCryptoCommands();
    return crypto.readComponent(RsaComponent::PublicExponent, id_, crypto.getMaxExpectedLength())
        .has_value();
}

bool RsaKeySlotDriverCmd::deletePart(KeyPart part) {
    return provider_.getCryptoCommands().deleteKey(id_, part);
}

std::basic_string<unsigned char> RsaKeySlotDriverCmd::sign(
    velk::basic_allocated_string<unsigned char> const& data, HashAlg hashAlg) const {
    // Checked first, so that input the buffer cannot take leaves no security environment set.
    checkCryptoInputLength(provider_, data.size());
    auto& crypto = provider_.getCryptoCommands();
    crypto.manageSecEnvSign(hashAlg, id_);
    writeCryptoInputBuffer(provider_, data);
    return crypto.computeSignature(static_cast<unsigned short>(data.size()),
                                   crypto.getMaxExpectedLength());
}

boost::multiprecision::cpp_int RsaKeySlotDriverCmd::getModulus() const {
    return readComponent_(RsaComponent::Modulus);
}

boost::multiprecision::cpp_int RsaKeySlotDriverCmd::getPublicExponent() const {
    return readComponent_(RsaComponent::PublicExponent);
}

boost::multiprecision::cpp_int RsaKeySlotDriverCmd::readComponent_(RsaComponent component) const {
    auto const& crypto = provider_.getCryptoCommands();
    auto const bytes = crypto.readComponent(component, id_, crypto.getMaxExpectedLength());
    if (!bytes) {
        throw velk::secure_elt_err::RefDataNotFound("Key not found");
    }
    return velk::DecodeBigEndian<boost::multiprecision::cpp_int>(*bytes);
}

}  // namespace teappletlib::interchange::obj::driver::impl::cmd
