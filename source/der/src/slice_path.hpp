#pragma once

#include <string>
#include <string_view>

namespace der::detail {

// Evaluates a slice path (see CDerIterator) against `buffer`. On failure the result is empty
// and `ok` false.
std::basic_string<unsigned char> EvaluateSlicePath(std::basic_string<unsigned char> const& buffer,
                                                   std::string_view path, bool& ok);

}  // namespace der::detail
