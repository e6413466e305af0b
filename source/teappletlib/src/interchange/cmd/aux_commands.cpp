#include "teappletlib/interchange/cmd/impl/apdu/aux_commands.hpp"

#include <limits>

#include "response_checks.hpp"
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

// Each value travels in one byte; a larger one would reach the card as some other number.
unsigned char oneByte(std::uint32_t value, char const* tooLarge) {
    if (value > std::numeric_limits<unsigned char>::max()) {
        throw velk::secure_elt_err::WrongData(tooLarge);
    }
    return static_cast<unsigned char>(value);
}

unsigned char limitByte(std::uint32_t limit) {
    return oneByte(limit, "Object limit too large");
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
    expectSuccess(transmit_.Transmit(Apdu(ins_initialise_applet::Cla, ins_initialise_applet::Ins,
                                          0x00, 0x00, std::move(data), 0)));
}

void AuxCommands::setLifecycle(Lifecycle lifecycle) {
    // Sending only the low byte could move the applet into a state nobody asked for.
    auto const p1 = oneByte(static_cast<std::uint32_t>(lifecycle), "Life-cycle value too large");
    expectSuccess(
        transmit_.Transmit(Apdu(ins_set_lifecycle::Cla, ins_set_lifecycle::Ins, p1, 0x00, 0)));
}

}  // namespace teappletlib::interchange::cmd::impl::apdu
