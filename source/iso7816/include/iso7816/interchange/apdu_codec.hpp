#pragma once

#include <cstddef>

#include "iso7816/interchange/apdu.hpp"
#include "iso7816/interchange/apdu_response.hpp"
#include "velk/allocated_string.hpp"

namespace iso7816::interchange {

// Short APDUs only: Lc of one byte (at most 255 data bytes), Le of one byte (at most 256, sent
// as 00).
constexpr std::size_t ShortApduMaxDataLength = 255;
constexpr std::size_t ShortApduMaxResponseLength = 256;

// Encodes a command APDU. Data above 255 bytes or Le above 256 cannot be encoded without
// truncating a length byte, so they throw velk::secure_elt_err::WrongLength.
velk::basic_allocated_string<unsigned char> ApduToString(Apdu const& apdu);

// Splits a response into data and status word; fewer than two bytes throw
// velk::secure_elt_err::ResponseError.
ApduResponse StringToApduResponse(velk::basic_allocated_string<unsigned char> const& bytes);

// The inverse of ApduToString; a malformed command throws velk::secure_elt_err::RequestError.
Apdu StringToApdu(velk::basic_allocated_string<unsigned char> const& bytes);

// The inverse of StringToApduResponse: data, then SW1 and SW2.
velk::basic_allocated_string<unsigned char> ApduResponseToString(ApduResponse const& response);

}  // namespace iso7816::interchange
