#pragma once

#include <string>

// wchar_t holds one Unicode code point. Neither conversion fails: bad input is skipped
// without a trace.

namespace velk {

// Elements that are not Unicode scalar values (surrogates, 110000 and above) are skipped.
std::string wstringToUtf8(std::wstring const& text);

// An ill-formed or truncated sequence is skipped, and decoding goes on at the first byte that
// cannot continue it. Overlong forms and encoded surrogates are ill-formed.
std::wstring utf8ToWstring(std::string const& text);

}  // namespace velk
