#pragma once

#include <string>

// OBJECT IDENTIFIER content octets to and from dotted decimal text ("1.2.840.113549"). The
// first two arcs share one subidentifier, 40 x first + second, which may take several octets
// when the first arc is 2. On failure the output is left untouched.

// Needs at least two arcs of decimal digits; a single '.' may end the text. The first arc is
// 0, 1 or 2, and below 2 the second arc is at most 39.
bool StringToOid(char const* text, std::basic_string<unsigned char>& oid);

// A trailing unfinished subidentifier is left out; an arc wider than 64 bits fails.
bool OidToString(std::basic_string<unsigned char> const& oid, std::string& text);
