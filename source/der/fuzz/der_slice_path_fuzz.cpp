// A slice path against card bytes. The input is the path, a 00 byte, then the bytes; without a
// 00 it is all path over no bytes. A path that does not fit gives nothing, never a fault.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "der/der_iterator.hpp"
#include "testsupport/fuzz/invariant.hpp"

namespace {

using Bytes = std::basic_string<unsigned char>;
using testsupport::fuzz::requireInvariant;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(std::uint8_t const* data, std::size_t size) {
    std::uint8_t const* const end = data + size;
    std::uint8_t const* const separator = std::find(data, end, 0x00);
    std::string const path(data, separator);
    Bytes const bytes = separator == end ? Bytes() : Bytes(separator + 1, end);
    CDerIterator const it(bytes);

    bool ok = false;
    Bytes const slice = it.Slice(path, ok);
    requireInvariant(ok || slice.empty(), "a failed slice is empty");
    requireInvariant(slice.size() <= bytes.size(), "a slice lies within the bytes");
    Bytes const value = it.SliceValue(path, ok);
    requireInvariant(ok || value.empty(), "a failed value slice is empty");
    requireInvariant(value.size() <= bytes.size(), "a value slice lies within the bytes");
    requireInvariant(it.Slice(path.c_str()) == slice, "both overloads read alike");
    return 0;
}
