#pragma once

#include <string>

#include "der/der_string.hpp"

// INTEGER content octets and elements. Decoders accept the universal tag 02 and, except for
// the magnitude form of UnsignedDecode, one-octet context-specific tags (implicitly tagged
// fields); they never throw and give `defaultValue` for anything they cannot read.

// Shortest two's-complement big-endian form, 1 to 4 octets.
std::basic_string<unsigned char> IntEncodeValue(int value);
CDerString IntEncode(int value);
// Content octets of a non-negative INTEGER from a big-endian magnitude: 00 in front when the
// magnitude would read as negative, 00 alone for an empty one. Leading zeros stay.
std::basic_string<unsigned char> IntEncodeAbsoluteValue(
    std::basic_string<unsigned char> const& magnitude);

// 1 to 4 octets read as two's complement.
int IntDecodeValue(std::basic_string<unsigned char> const& value, int defaultValue);
int IntDecode(CDerString const& der, int defaultValue);
// Accepted identifier, complete element and at most 4 value octets (an empty value counts).
bool IntDecodeOK(CDerString const& der);

// 1 to 4 octets read without sign, or 5 when the first is 00.
unsigned int UnsignedDecodeValue(std::basic_string<unsigned char> const& value,
                                 unsigned int defaultValue);
unsigned int UnsignedDecode(CDerString const& der, unsigned int defaultValue);

// The magnitude octets: the value without the 00 that keeps a high first octet positive.
std::basic_string<unsigned char> UnsignedDecodeValue(std::basic_string<unsigned char> const& value);
// The magnitude of an element with the universal tag 02 only; otherwise empty.
std::basic_string<unsigned char> UnsignedDecode(CDerString const& der);
