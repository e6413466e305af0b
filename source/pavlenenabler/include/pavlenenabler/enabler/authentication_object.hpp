#pragma once

#include <cstdint>

namespace pavlenenabler::enabler {

// The card's PIN object that guards the keys; handed to the applet as the object id of the same
// value. Chosen from the card's ATR.
enum class AuthenticationObject : std::uint32_t {
    CardGen2Pin = 2,
    CardGen3Pin = 3,
};

}  // namespace pavlenenabler::enabler
