#pragma once

#include <string>

#include "der/der_string.hpp"

// "000000000000Z", the placeholder for no time.
std::string GeneralizedTimeEncodeValueZero();
// The current UTC time as "YYYYMMDDHHMMSSZ".
std::string GeneralizedTimeEncodeValueNow();
// A GeneralizedTime element (tag 18) of the text up to its first NUL character.
CDerString GeneralizedTimeEncode(std::string const& text);
