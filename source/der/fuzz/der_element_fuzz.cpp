// One DER element and a run of elements from card bytes: the readers never throw, never read past
// the input and agree with each other about where elements lie.
#include <cstddef>
#include <cstdint>
#include <string>

#include "der/der_iterator.hpp"
#include "der/der_string.hpp"
#include "testsupport/fuzz/invariant.hpp"

namespace {

using Bytes = std::basic_string<unsigned char>;
using testsupport::fuzz::requireInvariant;

void checkElement(CDerString const& der, std::size_t size) {
    unsigned long const derLen = der.DerLen();
    requireInvariant(derLen <= size, "an element lies within its bytes");
    requireInvariant(der.Val().size() == der.Len(), "the value has the length of its header");
    requireInvariant(derLen == 0 || derLen >= der.Len() + 2, "a header takes two octets or more");
    requireInvariant(der.IsValConsistent() == (derLen != 0 && derLen == size),
                     "consistent means exactly one complete element");
    requireInvariant(der.IsValComplete(), "the value read is always complete");
    (void)der.RawTag();
    (void)der.Tag();
    (void)der.SubStr(1, 3);
}

// Walks the run both ways and into each element's value, as the PKCS#15 readers do.
void checkWalk(Bytes const& input, int depth) {
    CDerIterator const it(input);
    unsigned long const count = it.NumDers();
    unsigned long pos = 0;
    for (unsigned long i = 0; i < count; ++i) {
        unsigned long const start = pos;
        CDerString const element = it.GetNextDer(pos);
        requireInvariant(element.IsValConsistent(), "a walked element is complete");
        requireInvariant(pos - start == element.DerLen(), "the walk steps over one element");
        requireInvariant(Bytes(element) == Bytes(it.GetDer(i)), "GetDer agrees with the walk");
        if (depth > 0) {
            checkWalk(element.Val(), depth - 1);
        }
    }
    requireInvariant(pos <= input.size(), "the walk ends within the input");
    unsigned long const end = pos;
    requireInvariant(Bytes(it.GetNextDer(pos)).empty() && pos == end,
                     "past the last element nothing is read");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(std::uint8_t const* data, std::size_t size) {
    Bytes const input(data, size);
    checkElement(CDerString(input), size);
    // Deep enough for a certificate directory entry: entry, attributes, path, identifiers.
    constexpr int WalkDepth = 6;
    checkWalk(input, WalkDepth);
    return 0;
}
