#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "iso7816/interchange/apdu_response.hpp"

namespace teappletlib::interchange::cmd::impl::apdu {

// 9000 returns; every other word goes to processError.
void expectSuccess(iso7816::interchange::ApduResponse const& response);

// 9000 gives true and falseWord false; every other word goes to processError.
bool succeededUnless(iso7816::interchange::ApduResponse const& response, std::uint16_t falseWord);

// The reference of a newly created object, which a 9000 answer carries as its only data byte.
std::uint8_t singleResponseByte(iso7816::interchange::ApduResponse const& response);

// The data of a 9000 answer whose length is fixed.
iso7816::interchange::ApduResponse::Data dataOfLength(
    iso7816::interchange::ApduResponse const& response, std::size_t length);

// Response data that holds no secret (public keys, signatures, data objects) as a plain string.
std::basic_string<unsigned char> publicBytes(iso7816::interchange::ApduResponse::Data const& data);

}  // namespace teappletlib::interchange::cmd::impl::apdu
