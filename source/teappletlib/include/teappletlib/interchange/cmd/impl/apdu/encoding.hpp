#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>

#include "iso7816/interchange/apdu_cla.hpp"
#include "teappletlib/interchange/acl.hpp"
#include "velk/allocated_string.hpp"

namespace teappletlib::interchange::cmd::impl::apdu {

// Command data under construction. It holds references, sizes and rules, never a secret; a
// command copies it into the zero-erasing data of its APDU with toApduData.
using Bytes = std::basic_string<unsigned char>;

// Class of the applet's own commands; those coded as in ISO 7816-4 keep class 00.
constexpr iso7816::interchange::ApduCla ProprietaryCommandClass{0x80};

// Tag, BER definite length, value. Tags are single bytes.
Bytes encodeTlv(unsigned char tag, Bytes const& value);

// Access rules on the wire: 01 L { 02 Li id1 ... idm } ..., one 02-element per AND-list.
Bytes encodeTlv(AclAnd const& rule);
Bytes encodeTlv(AclOr const& rule);
Bytes encodeTlv(Acl const& rule);

// Tag, the byte N, then the low N bytes of value, most significant first. With N = 0 the value
// is not used: tag 00.
template <std::size_t N, class T>
Bytes encodeTlvInt(unsigned char tag, T value) {
    static_assert(std::is_integral_v<T> && N <= sizeof(T), "the value must hold N bytes");
    auto const bits = static_cast<std::make_unsigned_t<T>>(value);
    Bytes tlv{tag, static_cast<unsigned char>(N)};
    for (std::size_t i = N; i > 0; --i) {
        tlv.push_back(static_cast<unsigned char>((bits >> (8 * (i - 1))) & 0xFF));
    }
    return tlv;
}

velk::basic_allocated_string<unsigned char> toApduData(Bytes const& data);

}  // namespace teappletlib::interchange::cmd::impl::apdu
