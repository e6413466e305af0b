#pragma once

#include <cstdint>

namespace teappletlib::interchange {

// Outcome of a PIN check: verified on 9000, otherwise the tries left of a 63Cx answer.
struct PinVerifyResult {
    bool verified;
    std::uint8_t triesRemaining;
};

constexpr bool operator==(PinVerifyResult const& a, PinVerifyResult const& b) noexcept {
    return a.verified == b.verified && a.triesRemaining == b.triesRemaining;
}
constexpr bool operator!=(PinVerifyResult const& a, PinVerifyResult const& b) noexcept {
    return !(a == b);
}

}  // namespace teappletlib::interchange
