#pragma once

#include <string>

#include "der/der_string.hpp"

// BIT STRING as a list of flags: flag i is bit 7 - (i mod 8) of data octet i / 8, as in a
// named-bit list. Flags are unsigned chars, non-zero meaning set.

// DER content octets (unused-bit count, then the data octets up to the last set flag) of
// `count` flags.
std::basic_string<unsigned char> BitStringEncodeValue(int count, unsigned char const* flags);

// Writes `count` flags (0 or 1) from content octets; flags past the bits that the content
// carries are 0, as are all of them for empty or inconsistent content.
void BitStringDecodeValue(std::basic_string<unsigned char> const& value, int count,
                          unsigned char* flags);

// The single data octet of a BIT STRING element (tag 03, 2 value octets) with its unused
// bits cleared; otherwise `defaultValue`.
unsigned char BitStringToChar(CDerString const& der, unsigned char defaultValue);

// The one or two data octets of a BIT STRING element (tag 03, 2 or 3 value octets) as the high
// and low octet of a number, unused bits cleared; otherwise `defaultValue`.
unsigned short BitStringToShort(CDerString const& der, unsigned short defaultValue);
