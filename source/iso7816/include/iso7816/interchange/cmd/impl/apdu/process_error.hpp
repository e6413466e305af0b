#pragma once

#include "iso7816/interchange/apdu_response.hpp"
#include "iso7816/interchange/iso7816_response.hpp"

namespace iso7816::interchange::cmd::impl::apdu {

// The shared mapping of a status word that a command does not expect to an exception. One status
// word always raises the same class with the same text.
[[noreturn]] void processError(ApduResponse::Code const& code);
// A response without a status word (a malformed 9000 reply) raises
// velk::secure_elt_err::ResponseError "Invalid response".
[[noreturn]] void processError(spec::Iso7816Response const& response);
[[noreturn]] void processError(ApduResponse const& response);

}  // namespace iso7816::interchange::cmd::impl::apdu
