#pragma once

#include <string>

#include "der/der_string.hpp"

// BOOLEAN content octets and elements. Decoders accept the universal tag 01 and one-octet
// context-specific tags (implicitly tagged fields); they never throw.

std::basic_string<unsigned char> BoolEncodeValue(bool value);
CDerString BoolEncode(bool value);

// First octet not 00; an empty value is false. The second argument takes no part.
bool BoolDecodeValue(std::basic_string<unsigned char> const& value, bool);
// The decoded value of an accepted, complete element; otherwise `defaultValue`.
bool BoolDecode(CDerString const& der, bool defaultValue);
// Whether the identifier is accepted and the value is exactly one octet.
bool BoolDecodeOK(CDerString const& der);
