#pragma once

#include <cstddef>
#include <string>

#include <boost/optional.hpp>

#include "velk/octet.hpp"

namespace velk {

// 0-15 for a hex digit of either case, 0 for any other character.
unsigned char hexValue(char c);

// Two digits per byte, high nibble first, without validation: a bad digit reads as 0, and an
// odd last digit becomes a high nibble over 0 ("abc" gives AB C0).
std::basic_string<unsigned char> HexToString(std::string const& hex);

// Empty when hex has an odd length or a character that is not a hex digit.
boost::optional<std::basic_string<Octet>> hexToOctetString(std::string const& hex);

// Two upper-case digits per byte, no separators.
std::string HexRepresentation(std::basic_string<unsigned char> const& bytes);

// Only hex digits, and an even count of them; the empty string is hex.
bool IsHexString(std::string const& text);

// Removes every character that is not a hex digit, then an odd last digit.
void SanitizeHexString(std::string& text);

namespace literals {

std::basic_string<Octet> operator""_binoctstr(char const* hex, std::size_t n);

}  // namespace literals
}  // namespace velk

// "3B8F"_binstr is the two bytes 3B 8F.
std::basic_string<unsigned char> operator""_binstr(char const* hex, std::size_t n);
