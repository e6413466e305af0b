#pragma once

#include <boost/optional.hpp>

#include "pavlenenabler/enabler/pkcs15/codec/certificate_choice.hpp"
#include "pavlenenabler/enabler/pkcs15/codec/directory.hpp"
#include "teappletlib/interchange/obj/object_provider.hpp"

namespace pavlenenabler::enabler {

// Keeps a card's certificate directory once it has been read: the file does not change while
// the card object lives, not even across a card reset.
class SmartcardCacheHelper {
public:
    using CertificateDirectory = pkcs15::codec::Directory<pkcs15::codec::CertificateChoice>;

    // Reads and decodes the directory file on first use. A read or decoding error propagates
    // and caches nothing, so the next call tries again. The reference stays valid as long as
    // this helper.
    CertificateDirectory const& getCertificateDirectory(
        teappletlib::interchange::obj::ObjectProvider& objects);

private:
    boost::optional<CertificateDirectory> directory_;
};

}  // namespace pavlenenabler::enabler
