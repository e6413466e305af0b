#pragma once

#include <string>

namespace pavlenenabler::enabler::pkcs15::codec {

// One entry of the certificate directory file. The entry comes from the card and is not
// trusted: an entry of another shape gives an empty label or path, and only getPath fails.
class CertificateChoice {
public:
    using Bytes = std::basic_string<unsigned char>;

    // `entry` is the whole encoded element.
    explicit CertificateChoice(Bytes const& entry);

    // The label's UTF-8 octets; empty when the entry has none.
    Bytes const& getLabel() const noexcept { return label_; }

    // The file identifier at position `index` of the certificate's path. Throws
    // velk::CodingError "Unable to decode path" when the entry holds no readable path (a direct
    // value, an odd octet count, an identifier FFFF) and "Path is too small" when the path is
    // shorter than `index` + 1 identifiers.
    unsigned short getPath(unsigned int index) const;

private:
    Bytes label_;
    // The whole encoded Path element; empty when the value is not a Path.
    Bytes path_;
};

}  // namespace pavlenenabler::enabler::pkcs15::codec
