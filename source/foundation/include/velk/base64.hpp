#pragma once

#include <string>

namespace velk {

// Standard alphabet, '=' padding to a multiple of 4, no line breaks.
std::string base64Encode(std::basic_string<unsigned char> const& data);

// Throws CodingError "base64 string not a multiple of 4 in length" or "Incorrect base64 string"
// (empty or all padding, a character outside the alphabet, white space included).
std::basic_string<unsigned char> base64Decode(std::string const& text);

}  // namespace velk
