#pragma once

#include <cstddef>
#include <cstdint>

#include "testsupport/cardsim/card_profile.hpp"
#include "velk/allocated_string.hpp"

namespace testsupport::cardsim::detail {

// The card's PIN object. Its try counter belongs to the card and survives resets; whether it is
// verified belongs to each channel.
class PinObject {
public:
    // Throws std::invalid_argument for settings no card could have.
    explicit PinObject(PinSettings const& settings);

    std::uint8_t id() const { return id_; }
    std::uint8_t maxTries() const { return maxTries_; }
    std::uint8_t triesRemaining() const { return triesRemaining_; }
    bool blocked() const { return triesRemaining_ == 0; }
    bool expired() const { return expired_; }

    // Compares a PIN of at most MaxPinLength bytes, both sides padded with 00: a match restores
    // the tries, a mismatch costs one. Never call it on a blocked object.
    bool present(unsigned char const* pin, std::size_t length);
    // Whether a PIN of at most MaxPinLength bytes passes the length policy (trailing 00 bytes
    // are padding).
    bool acceptable(unsigned char const* pin, std::size_t length) const;
    void replace(unsigned char const* pin, std::size_t length);
    void expire() { expired_ = true; }

private:
    static velk::basic_allocated_string<unsigned char> padded_(unsigned char const* pin,
                                                               std::size_t length);

    std::uint8_t id_;
    velk::basic_allocated_string<unsigned char> reference_;
    std::uint8_t maxTries_;
    std::uint8_t triesRemaining_;
    std::size_t minLength_;
    bool expired_ = false;
};

}  // namespace testsupport::cardsim::detail
