#include "pavlenenabler/enabler/smartcard_cache_helper.hpp"

#include "teappletlib/interchange/absolute_fid.hpp"
#include "teappletlib/interchange/obj/read_all.hpp"

namespace pavlenenabler::enabler {

namespace {

iso7816::interchange::FileId const CertificateDirectoryFid{0x4404};
teappletlib::interchange::AbsoluteFid const cdfPath{CertificateDirectoryFid};

}  // namespace

SmartcardCacheHelper::CertificateDirectory const& SmartcardCacheHelper::getCertificateDirectory(
    teappletlib::interchange::obj::ObjectProvider& objects) {
    if (!directory_) {
        auto const file = teappletlib::interchange::obj::readAll(*objects.getFile(cdfPath));
        directory_.emplace(file.begin(), file.end());
    }
    return *directory_;
}

std::string const* SmartcardCacheHelper::findCertificate(iface::KeyCertType type) const {
    auto const found = certificates_.find(type);
    return found == certificates_.end() ? nullptr : &found->second;
}

void SmartcardCacheHelper::keepCertificate(iface::KeyCertType type, std::string certificate) {
    certificates_[type] = std::move(certificate);
}

}  // namespace pavlenenabler::enabler
