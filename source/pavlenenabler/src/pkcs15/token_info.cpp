#include "pavlenenabler/enabler/pkcs15/codec/token_info.hpp"

#include "der/der_iterator.hpp"
#include "pavlenenabler/enabler/pkcs15/p15.hpp"

namespace pavlenenabler::enabler::pkcs15::codec {

boost::optional<TokenInfo::Bytes> TokenInfo::getTokenLabel() const {
    bool found = false;
    Bytes label = CDerIterator(contents_).Slice(P15::tokenInfo_label, found);
    if (!found) {
        return boost::none;
    }
    return label;
}

}  // namespace pavlenenabler::enabler::pkcs15::codec
