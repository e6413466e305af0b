#pragma once

#include <cstddef>

#include "teappletlib/interchange/cmd/command_provider.hpp"
#include "velk/allocated_string.hpp"

namespace teappletlib::interchange::obj::driver::impl::cmd {

// Throws velk::secure_elt_err::WrongLength "Cryptographic input buffer data too long" when
// length is more than the buffer takes through this provider's chain: it is written by UPDATE
// BINARY with a one-byte offset, so every chunk has to start at offset 255 or below.
void checkCryptoInputLength(interchange::cmd::CommandProvider const& provider, std::size_t length);

// Writes the input of the next signature, decryption or unwrap. Too long data is refused before
// anything is sent; a missing buffer EF throws velk::secure_elt_err::FileNotFound.
void writeCryptoInputBuffer(interchange::cmd::CommandProvider& provider,
                            velk::basic_allocated_string<unsigned char> const& data);

}  // namespace teappletlib::interchange::obj::driver::impl::cmd
