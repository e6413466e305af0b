#include "teappletlib/interchange/cmd/impl/apdu/aux_commands.hpp"

#include <limits>

#include "teappletlib/interchange/cmd/impl/apdu/status_rules.hpp"
#include "teappletlib/interchange/cmd/impl/apdu/status_words.hpp"
#include "velk/exceptions.hpp"

namespace teappletlib::interchange::cmd::impl::apdu {

namespace {

using iso7816::interchange::Apdu;
using iso7816::interchange::ApduCla;
using iso7816::interchange::ApduIns;

namespace ins_initialise_applet {
constexpr ApduCla Cla{0x80};
constexpr ApduIns Ins{0xAE};
}  // namespace ins_initialise_applet

namespace ins_set_lifecycle {
constexpr ApduCla Cla{0x80};
constexpr ApduIns Ins{0xEE};
}  // namespace ins_set_lifecycle

// The length range and the try count take four bits each on the wire.
constexpr std::uint64_t MaxMasterPinLength = 15;
constexpr unsigned int MaxMasterPinTries = 15;

void sendExpectingSuccess(iso7816::interchange::ApduTransmit& transmit, Apdu apdu) {
    auto const response = transmit.Transmit(std::move(apdu));
    if (statusWord(response) != SwSuccess) {
        processError(response);
    }
}

// Each count travels in one byte; a larger one would reach the card as some other number.
unsigned char limitByte(std::uint32_t limit) {
    if (limit > std::numeric_limits<unsigned char>::max()) {
        throw velk::secure_elt_err::WrongData("Object limit too large");
    }
    return static_cast<unsigned char>(limit);
}

}  // namespace

void AuxCommands::initialiseApplet(ObjectLimits const& limits, PinLengthRange const& range,
                                   unsigned int tries,
                                   velk::basic_allocated_string<unsigned char> const& pin) {
    velk::basic_allocated_string<unsigned char> paddedPin(pin);
    if (range.max > MaxMasterPinLength) {
        throw velk::secure_elt_err::WrongData("The maximum master PIN length was too large");
    }
    if (!rangeContains(range, paddedPin.size())) {
        throw velk::secure_elt_err::WrongData("Master PIN length incorrect");
    }
    if (tries > MaxMasterPinTries) {
        throw velk::secure_elt_err::WrongData("The maximum tries for the master PIN is too large");
    }
    unsigned char const limitBytes[] = {limitByte(limits.limit0), limitByte(limits.limit1),
                                        limitByte(limits.limit2)};
    paddedPin.resize(range.max, 0x00);

    Apdu::Data data;
    data.reserve(2 + paddedPin.size() + sizeof limitBytes);
    data.push_back(static_cast<unsigned char>((range.min << 4) | range.max));
    data.push_back(static_cast<unsigned char>(tries));
    data.append(paddedPin);
    data.append(limitBytes, sizeof limitBytes);
    sendExpectingSuccess(transmit_, Apdu(ins_initialise_applet::Cla, ins_initialise_applet::Ins,
                                         0x00, 0x00, std::move(data), 0));
}

void AuxCommands::setLifecycle(Lifecycle lifecycle) {
    auto const p1 = static_cast<std::uint8_t>(static_cast<std::uint32_t>(lifecycle) & 0xFF);
    sendExpectingSuccess(transmit_,
                         Apdu(ins_set_lifecycle::Cla, ins_set_lifecycle::Ins, p1, 0x00, 0));
}

}  // namespace teappletlib::interchange::cmd::impl::apdu
