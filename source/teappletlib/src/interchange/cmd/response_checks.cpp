#include "response_checks.hpp"

#include "teappletlib/interchange/cmd/impl/apdu/status_rules.hpp"
#include "teappletlib/interchange/cmd/impl/apdu/status_words.hpp"
#include "velk/exceptions.hpp"

namespace teappletlib::interchange::cmd::impl::apdu {

using iso7816::interchange::ApduResponse;

void expectSuccess(ApduResponse const& response) {
    if (statusWord(response) != SwSuccess) {
        processError(response);
    }
}

bool succeededUnless(ApduResponse const& response, std::uint16_t falseWord) {
    auto const sw = statusWord(response);
    if (sw == SwSuccess) {
        return true;
    }
    if (sw == falseWord) {
        return false;
    }
    processError(response);
}

std::uint8_t singleResponseByte(ApduResponse const& response) {
    auto const data = response.GetData();
    if (data.size() != 1) {
        throw velk::secure_elt_err::ResponseError("Incorrect response length");
    }
    return data[0];
}

ApduResponse::Data dataOfLength(ApduResponse const& response, std::size_t length) {
    auto data = response.GetData();
    if (data.size() != length) {
        throw velk::secure_elt_err::ResponseError("Response length is invalid");
    }
    return data;
}

std::basic_string<unsigned char> publicBytes(ApduResponse::Data const& data) {
    return {data.begin(), data.end()};
}

}  // namespace teappletlib::interchange::cmd::impl::apdu
