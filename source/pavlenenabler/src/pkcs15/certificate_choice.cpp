#include "pavlenenabler/enabler/pkcs15/codec/certificate_choice.hpp"

#include <vector>

#include "der/der_iterator.hpp"
#include "pavlenenabler/enabler/pkcs15/p15.hpp"
#include "velk/exceptions.hpp"

namespace pavlenenabler::enabler::pkcs15::codec {

namespace {

// Paths on the card are short; longer ones grow the array by doubling.
constexpr std::size_t InitialFidCapacity = 8;

}  // namespace

CertificateChoice::CertificateChoice(Bytes const& entry) {
    CDerIterator const fields(entry);
    label_ = fields.SliceValue(P15::x509Certificate_commonObjectAttributes_label);
    path_ = fields.Slice(P15::x509Certificate_typeAttributes_value);
}

unsigned short CertificateChoice::getPath(unsigned int index) const {
    std::vector<unsigned short> fids(InitialFidCapacity);
    unsigned int count = 0;
    int pathIndex = -1;
    int pathLength = -1;
    auto const decode = [&] {
        return P15::PathDecode(path_, fids.data(), static_cast<unsigned int>(fids.size()), count,
                               pathIndex, pathLength, true);
    };
    bool decoded = decode();
    // A full array may have left identifiers unread: grow it and decode again from the start.
    while (count == fids.size()) {
        fids.resize(fids.size() * 2);
        decoded = decode();
    }
    if (!decoded) {
        throw velk::CodingError("Unable to decode path");
    }
    if (index >= count) {
        throw velk::CodingError("Path is too small");
    }
    return fids[index];
}

}  // namespace pavlenenabler::enabler::pkcs15::codec
