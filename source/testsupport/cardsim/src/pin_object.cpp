#include "pin_object.hpp"

#include <stdexcept>

#include <openssl/crypto.h>

namespace testsupport::cardsim::detail {
namespace {

constexpr std::uint8_t MaxTries = 15;  // what the low nibble of 63Cx can report

}  // namespace

PinObject::PinObject(PinSettings const& settings)
    : id_(settings.objectId),
      maxTries_(settings.maxTries),
      triesRemaining_(settings.triesRemaining),
      minLength_(settings.minLength) {
    if (settings.value.size() > MaxPinLength) {
        throw std::invalid_argument("PIN longer than 15 characters");
    }
    if (maxTries_ == 0 || maxTries_ > MaxTries || triesRemaining_ > maxTries_) {
        throw std::invalid_argument("PIN tries out of range");
    }
    reference_ = padded_(reinterpret_cast<unsigned char const*>(settings.value.data()),
                         settings.value.size());
}

velk::basic_allocated_string<unsigned char> PinObject::padded_(unsigned char const* pin,
                                                               std::size_t length) {
    velk::basic_allocated_string<unsigned char> result(pin, length);
    result.resize(MaxPinLength, 0);
    return result;
}

bool PinObject::present(unsigned char const* pin, std::size_t length) {
    velk::basic_allocated_string<unsigned char> const presented = padded_(pin, length);
    // Constant time, as a card compares.
    if (CRYPTO_memcmp(presented.data(), reference_.data(), MaxPinLength) == 0) {
        triesRemaining_ = maxTries_;
        return true;
    }
    if (triesRemaining_ > 0) {
        --triesRemaining_;
    }
    return false;
}

bool PinObject::acceptable(unsigned char const* pin, std::size_t length) const {
    while (length > 0 && pin[length - 1] == 0) {
        --length;
    }
    return length >= minLength_ && length <= MaxPinLength;
}

void PinObject::replace(unsigned char const* pin, std::size_t length) {
    reference_ = padded_(pin, length);
    triesRemaining_ = maxTries_;
    expired_ = false;
}

}  // namespace testsupport::cardsim::detail
