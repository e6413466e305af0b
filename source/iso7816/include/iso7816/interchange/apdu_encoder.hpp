#pragma once

#include "iso7816/interchange/apdu_codec.hpp"
#include "iso7816/interchange/apdu_transmit.hpp"
#include "iso7816/interchange/raw_transmit.hpp"

namespace iso7816::interchange {

// The bottom APDU layer: encodes short APDUs onto a raw transport and parses the replies.
class ApduEncoder : public ApduTransmit {
public:
    static constexpr std::size_t MaxDataLength = ShortApduMaxDataLength;
    static constexpr std::size_t MaxResponseLength = ShortApduMaxResponseLength;

    explicit ApduEncoder(RawTransmit& raw) : raw_(raw) {}

    // A reply with more data than the APDU's Le throws velk::secure_elt_err::ResponseError.
    ApduResponse Transmit(Apdu const& apdu) override;
    ApduResponse Transmit(Apdu&& apdu) override;

    std::size_t GetMaxDataLength() const override { return MaxDataLength; }
    std::size_t GetMaxResponseLength() const override { return MaxResponseLength; }

private:
    RawTransmit& raw_;
};

}  // namespace iso7816::interchange
