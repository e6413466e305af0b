#include "teappletlib/interchange/cmd/impl/apdu/status_rules.hpp"

#include "iso7816/interchange/cmd/impl/apdu/process_error.hpp"
#include "velk/exceptions.hpp"

namespace teappletlib::interchange::cmd::impl::apdu {

namespace iso = iso7816::interchange::cmd::impl::apdu;

namespace {

// The applet gives every 64xx and 67xx word its own meaning, whatever the low byte; other
// words pass on to the ISO mapping.
void processTessaroError(iso7816::interchange::ApduResponse::Code const& code) {
    switch (code.GetValue() >> 8) {
        case 0x64:
            throw velk::secure_elt_err::PinPolicyError("PIN policy check failed");
        case 0x67:
            throw velk::secure_elt_err::WrongLength("Data length is incorrect");
        default:
            break;
    }
}

}  // namespace

void processError(iso7816::interchange::ApduResponse::Code const& code) {
    processTessaroError(code);
    iso::processError(code);
}

void processError(iso7816::interchange::ApduResponse const& response) {
    processError(response.GetCode());
}

void processError(iso7816::interchange::spec::Iso7816Response const& response) {
    if (auto const& code = response.GetCode()) {
        processError(*code);
    }
    iso::processError(response);
}

}  // namespace teappletlib::interchange::cmd::impl::apdu
