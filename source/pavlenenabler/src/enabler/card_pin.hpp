#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "pavlenenabler/enabler/authentication_object.hpp"
#include "teappletlib/interchange/auth_object_id.hpp"
#include "velk/allocated_string.hpp"

namespace pavlenenabler::enabler::detail {

// The card compares PINs of exactly this length; the applet library never pads.
constexpr std::size_t FittedPinLength = 15;

// A copy of pin cut or filled with NUL to the card's length; erased when released.
inline velk::basic_allocated_string<char> fitPin(velk::basic_allocated_string<char> const& pin) {
    velk::basic_allocated_string<char> fitted(FittedPinLength, '\0');
    std::copy_n(pin.data(), std::min(pin.size(), FittedPinLength), fitted.data());
    return fitted;
}

inline teappletlib::interchange::AuthObjectId authObjectIdOf(AuthenticationObject object) {
    return teappletlib::interchange::AuthObjectId{static_cast<std::uint8_t>(object)};
}

}  // namespace pavlenenabler::enabler::detail
