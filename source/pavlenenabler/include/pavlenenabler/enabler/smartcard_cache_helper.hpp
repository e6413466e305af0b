#pragma once

#include <map>
#include <string>

#include <boost/optional.hpp>

#include "pavlenenabler/enabler/pkcs15/codec/certificate_choice.hpp"
#include "pavlenenabler/enabler/pkcs15/codec/directory.hpp"
#include "pavlenenabler/iface/key_cert_type.hpp"
#include "teappletlib/interchange/obj/object_provider.hpp"

namespace pavlenenabler::enabler {

// Keeps a card's certificate directory and the certificates once they have been read: the files
// do not change while the card object lives, not even across a card reset. Every signature
// looks its certificate up, which would otherwise read the whole file each time.
class SmartcardCacheHelper {
public:
    using CertificateDirectory = pkcs15::codec::Directory<pkcs15::codec::CertificateChoice>;

    // Reads and decodes the directory file on first use. A read or decoding error propagates
    // and caches nothing, so the next call tries again. The reference stays valid as long as
    // this helper.
    CertificateDirectory const& getCertificateDirectory(
        teappletlib::interchange::obj::ObjectProvider& objects);

    // The certificate of the key type read earlier, or null.
    std::string const* findCertificate(iface::KeyCertType type) const;
    void keepCertificate(iface::KeyCertType type, std::string certificate);

private:
    boost::optional<CertificateDirectory> directory_;
    std::map<iface::KeyCertType, std::string> certificates_;
};

}  // namespace pavlenenabler::enabler
