#pragma once

#include <string>
#include <utility>

#include <boost/optional.hpp>

namespace pavlenenabler::enabler::pkcs15::codec {

// The token-info file as read from the card.
class TokenInfo {
public:
    using Bytes = std::basic_string<unsigned char>;

    explicit TokenInfo(Bytes contents) : contents_(std::move(contents)) {}

    // The label octets (possibly empty); none when the file carries no label or is malformed.
    boost::optional<Bytes> getTokenLabel() const;

private:
    Bytes contents_;
};

}  // namespace pavlenenabler::enabler::pkcs15::codec
