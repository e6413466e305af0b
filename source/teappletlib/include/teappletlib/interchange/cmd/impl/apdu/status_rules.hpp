#pragma once

#include "iso7816/interchange/apdu_response.hpp"
#include "iso7816/interchange/iso7816_response.hpp"

namespace teappletlib::interchange::cmd::impl::apdu {

// For a status word that a command does not handle itself: the applet's own meanings first
// (64xx: velk::secure_elt_err::PinPolicyError, 67xx: velk::secure_elt_err::WrongLength), then
// the shared ISO mapping. Never returns.
[[noreturn]] void processError(iso7816::interchange::ApduResponse::Code const& code);
[[noreturn]] void processError(iso7816::interchange::ApduResponse const& response);
// A response without a status word (a malformed 9000 reply) goes straight to the ISO mapping,
// which reports it as an invalid response.
[[noreturn]] void processError(iso7816::interchange::spec::Iso7816Response const& response);

}  // namespace teappletlib::interchange::cmd::impl::apdu
