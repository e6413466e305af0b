#include "iso7816/interchange/apdu_encoder.hpp"

#include "iso7816/interchange/apdu_codec.hpp"
#include "velk/exceptions.hpp"

namespace iso7816::interchange {

ApduResponse ApduEncoder::Transmit(Apdu const& apdu) {
    velk::basic_allocated_string<unsigned char> const reply = raw_.Transmit(ApduToString(apdu));
    ApduResponse response = StringToApduResponse(reply);
    // More data than asked for means the exchange is out of step with the card.
    if (reply.size() - 2 > apdu.GetExpectedLength()) {
        throw velk::secure_elt_err::ResponseError(
            "Invalid response length. The response size is bigger than expected.");
    }
    return response;
}

ApduResponse ApduEncoder::Transmit(Apdu&& apdu) {
    // Encoding does not change the APDU, so the rvalue form needs no copy. The call is not virtual:
    // a derived layer whose const form goes through Transmit(Apdu&&) would otherwise loop.
    return ApduEncoder::Transmit(static_cast<Apdu const&>(apdu));
}

}  // namespace iso7816::interchange
