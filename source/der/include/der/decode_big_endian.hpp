#pragma once

namespace velk {

// Reads octets as one unsigned big-endian number (an RSA modulus or exponent into
// boost::multiprecision::cpp_int, for instance); an empty input gives 0. Works for any byte
// string whose elements convert to unsigned char, velk::Octet included.
template <typename Number, typename ByteString>
Number DecodeBigEndian(ByteString const& bytes) {
    Number number = 0;
    for (auto const octet : bytes) {
        // The shift leaves the low 8 bits clear, so adding is OR-ing; cpp_int's OR with a
        // small integer trips a false maybe-uninitialized warning in optimised builds.
        number <<= 8;
        number += static_cast<unsigned char>(octet);
    }
    return number;
}

}  // namespace velk
