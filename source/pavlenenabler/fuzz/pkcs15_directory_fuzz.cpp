// A certificate directory file from the card: every entry decodes without a fault, and its path
// either gives each identifier it holds or fails as documented.
#include <cstddef>
#include <cstdint>
#include <string>

#include "der/der_iterator.hpp"
#include "pavlenenabler/enabler/pkcs15/codec/certificate_choice.hpp"
#include "pavlenenabler/enabler/pkcs15/codec/directory.hpp"
#include "pavlenenabler/enabler/pkcs15/p15.hpp"
#include "testsupport/fuzz/documented_failures.hpp"
#include "testsupport/fuzz/invariant.hpp"

namespace {

using pavlenenabler::enabler::pkcs15::codec::CertificateChoice;
using pavlenenabler::enabler::pkcs15::codec::Directory;
using Bytes = std::basic_string<unsigned char>;
using testsupport::fuzz::requireInvariant;
using testsupport::fuzz::tolerateDocumentedFailures;

// More than the paths of a real card hold, so that the last index is past the end.
constexpr unsigned int PathIndices = 10;

void checkEntry(CertificateChoice const& entry, std::size_t fileSize) {
    requireInvariant(entry.getLabel().size() <= fileSize, "a label lies within the file");
    for (unsigned int i = 0; i < PathIndices; ++i) {
        tolerateDocumentedFailures([&] { (void)entry.getPath(i); });
    }
}

// The same path through the raw decoder, with an array too small for most paths: it must stop
// at the capacity and never write past it.
void checkPathDecode(Bytes const& entry) {
    constexpr unsigned int Capacity = 2;
    constexpr unsigned short Guard = 0xBEEF;
    unsigned short fids[Capacity + 1] = {0, 0, Guard};
    unsigned int count = 0;
    int index = 0;
    int length = 0;
    CDerString const path(CDerIterator(entry).Slice(P15::x509Certificate_typeAttributes_value));
    for (bool const allowBare : {true, false}) {
        (void)P15::PathDecode(path, fids, Capacity, count, index, length, allowBare);
        requireInvariant(count <= Capacity && fids[Capacity] == Guard,
                         "a path decodes only into the room it is given");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(std::uint8_t const* data, std::size_t size) {
    Bytes const file(data, size);
    Directory<CertificateChoice> const directory(file);
    for (auto const& entry : directory.getEntries()) {
        checkEntry(entry, size);
    }
    CDerIterator const elements(file);
    for (unsigned long i = 0, count = elements.NumDers(); i < count; ++i) {
        checkPathDecode(elements.GetDer(i));
    }
    return 0;
}
