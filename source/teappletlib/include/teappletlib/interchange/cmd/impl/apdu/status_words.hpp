#pragma once

#include <cstdint>

#include "iso7816/interchange/apdu_response.hpp"

namespace teappletlib::interchange::cmd::impl::apdu {

// The status words that the applet's commands handle themselves; all others go to processError.
constexpr std::uint16_t SwSuccess = 0x9000;
constexpr std::uint16_t SwSecurityNotSatisfied = 0x6982;
constexpr std::uint16_t SwReferenceNotSupported = 0x6984;
constexpr std::uint16_t SwKeyUsageRefused = 0x6988;
constexpr std::uint16_t SwWrongData = 0x6A80;
constexpr std::uint16_t SwFunctionNotSupported = 0x6A81;
constexpr std::uint16_t SwFileNotFound = 0x6A82;
constexpr std::uint16_t SwIncorrectParameters = 0x6A86;
constexpr std::uint16_t SwReferenceNotFound = 0x6A88;

inline std::uint16_t statusWord(iso7816::interchange::ApduResponse const& response) noexcept {
    return response.GetCode().GetValue();
}

}  // namespace teappletlib::interchange::cmd::impl::apdu
