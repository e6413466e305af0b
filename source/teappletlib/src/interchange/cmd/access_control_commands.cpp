#include "teappletlib/interchange/cmd/impl/apdu/access_control_commands.hpp"

#include "iso7816/interchange/status_word.hpp"
#include "response_checks.hpp"
#include "teappletlib/interchange/cmd/impl/apdu/encoding.hpp"
#include "teappletlib/interchange/cmd/impl/apdu/status_rules.hpp"
#include "teappletlib/interchange/cmd/impl/apdu/status_words.hpp"
#include "velk/exceptions.hpp"
#include "velk/string_conversions.hpp"

namespace teappletlib::interchange::cmd::impl::apdu {

namespace {

using iso7816::interchange::Apdu;
using iso7816::interchange::ApduCla;
using iso7816::interchange::ApduIns;
using iso7816::interchange::ApduResponse;

namespace ins_create_pin {
constexpr ApduCla Cla{0x80};
constexpr ApduIns Ins{0x30};
}  // namespace ins_create_pin

// VERIFY (ISO 7816-4).
constexpr ApduIns InsVerifyPin{0x20};

// CHANGE REFERENCE DATA (ISO 7816-4).
namespace ins_change_reference_data {
constexpr ApduIns Ins{0x24};
}  // namespace ins_change_reference_data

constexpr ApduIns InsGetRetryCounter{0x34};

namespace ins_expire_pin {
constexpr ApduCla Cla{0x80};
constexpr ApduIns Ins{0x3D};
}  // namespace ins_expire_pin

constexpr ApduIns InsDeauthenticateOdd{0x35};

namespace ins_disable_enable_secure_messaging {
constexpr ApduCla Cla{0x80};
constexpr ApduIns Ins{0x3F};
}  // namespace ins_disable_enable_secure_messaging

// The lengths and the try count share their byte with a neighbour, four bits each.
constexpr unsigned int MaxPinTries = 15;
constexpr std::uint64_t MaxPinLength = 15;

constexpr std::uint8_t RetryCounterP1 = 0x00;
constexpr std::uint8_t ChallengeResponseCounterP1 = 0x01;
constexpr std::uint8_t AllChannelsP1 = 0x80;

// 9000 and 63Cx are the answers to a presented PIN; any other word is not.
boost::optional<PinVerifyResult> toPinVerifyResult(std::uint16_t sw) {
    if (sw == SwSuccess) {
        return PinVerifyResult{true, 0};
    }
    if (iso7816::interchange::IsBadVerify(sw)) {
        return PinVerifyResult{
            false, static_cast<std::uint8_t>(iso7816::interchange::GetBadVerifyRetryCounter(sw))};
    }
    return boost::none;
}

PinVerifyResult sendVerify(iso7816::interchange::ApduTransmit& transmit, Apdu apdu) {
    auto const response = transmit.Transmit(std::move(apdu));
    if (auto const result = toPinVerifyResult(statusWord(response))) {
        return *result;
    }
    processError(response);
}

[[noreturn]] void throwNotAPin() {
    throw velk::secure_elt_err::RefDataNotFound("Authentication object is not a PIN");
}

// Setting or expiring a PIN: done, refused by the security condition, or not a PIN object.
bool pinUpdateResult(ApduResponse const& response) {
    if (statusWord(response) == SwIncorrectParameters) {
        throwNotAPin();
    }
    return succeededUnless(response, SwSecurityNotSatisfied);
}

AuthObjectState toAuthObjectState(unsigned char cardByte) {
    switch (cardByte) {
        case 0x00:
            return AuthObjectState::Code00;
        case 0x01:
            return AuthObjectState::Code01;
        case 0x02:
            return AuthObjectState::Code02;
        case 0x81:
            return AuthObjectState::Code81;
        case 0x40:
            return AuthObjectState::Code40;
        case 0x41:
            return AuthObjectState::Code41;
        default:
            throw velk::secure_elt_err::ResponseError("Incorrect object state");
    }
}

// Both retry-counter forms: the response data of a 9000, or nothing for 6A88.
boost::optional<ApduResponse::Data> readRetryCounter(iso7816::interchange::ApduTransmit& transmit,
                                                     std::uint8_t p1, AuthObjectId id,
                                                     std::size_t length) {
    auto const response =
        transmit.Transmit(Apdu(ProprietaryCommandClass, InsGetRetryCounter, p1, id.GetValue(),
                               static_cast<std::uint32_t>(length)));
    if (statusWord(response) == SwReferenceNotFound) {
        return boost::none;
    }
    expectSuccess(response);
    return dataOfLength(response, length);
}

bool sendDeauthenticate(iso7816::interchange::ApduTransmit& transmit, std::uint8_t p1,
                        AuthObjectId id) {
    auto const response = transmit.Transmit(
        Apdu(ProprietaryCommandClass, InsDeauthenticateOdd, p1, id.GetValue(), 0));
    return succeededUnless(response, SwReferenceNotFound);
}

}  // namespace

AuthObjectId AccessControlCommands::createPin(PinLengthRange const& range, unsigned int tries,
                                              bool flag, Acl const& acl) {
    if (tries > MaxPinTries) {
        throw velk::secure_elt_err::WrongData("PIN tries exceeds maximum PIN tries");
    }
    if (range.min > range.max) {
        throw velk::secure_elt_err::WrongData("Minimum PIN length greater than maximum PIN length");
    }
    if (range.max > MaxPinLength) {
        throw velk::secure_elt_err::WrongData("Maximum PIN length too high");
    }
    auto const p1 = static_cast<std::uint8_t>((flag ? 0x80 : 0x00) | tries);
    auto const p2 = static_cast<std::uint8_t>((range.min << 4) | range.max);
    auto const response = transmit_.Transmit(Apdu(ins_create_pin::Cla, ins_create_pin::Ins, p1, p2,
                                                  toApduData(encodeTlv(0x03, encodeTlv(acl))), 1));
    switch (statusWord(response)) {
        case SwSuccess:
            return AuthObjectId{singleResponseByte(response)};
        case SwIncorrectParameters:
        case SwFunctionNotSupported:
            throw velk::secure_elt_err::WrongData("The input were not within the permitted ranges");
        default:
            processError(response);
    }
}

PinVerifyResult AccessControlCommands::verifyPin(AuthObjectId id) const {
    return sendVerify(transmit_, Apdu(InsVerifyPin, 0x00, id.GetValue(), 0));
}

PinVerifyResult AccessControlCommands::verifyPin(AuthObjectId id, Pin const& pin) const {
    // Without data VERIFY only asks for the verified state, and a 9000 would read as a correct
    // PIN although none was checked.
    if (pin.empty()) {
        throw velk::secure_elt_err::WrongData("PIN must not be empty");
    }
    return sendVerify(transmit_,
                      Apdu(InsVerifyPin, 0x00, id.GetValue(), velk::ToUnsignedString(pin), 0));
}

bool AccessControlCommands::changePin(AuthObjectId id, Pin const& newPin) {
    auto const response = transmit_.Transmit(Apdu(
        ins_change_reference_data::Ins, 0x01, id.GetValue(), velk::ToUnsignedString(newPin), 0));
    return pinUpdateResult(response);
}

PinVerifyResult AccessControlCommands::changePin(AuthObjectId id, Pin const& oldPin,
                                                 Pin const& newPin) {
    Apdu::Data data;
    data.reserve(oldPin.size() + newPin.size());
    data.append(oldPin.begin(), oldPin.end());
    data.append(newPin.begin(), newPin.end());
    auto const response = transmit_.Transmit(
        Apdu(ins_change_reference_data::Ins, 0x00, id.GetValue(), std::move(data), 0));
    if (auto const result = toPinVerifyResult(statusWord(response))) {
        return *result;
    }
    if (statusWord(response) == SwIncorrectParameters) {
        throwNotAPin();
    }
    processError(response);
}

boost::optional<RetryCounter> AccessControlCommands::getRetryCounter(AuthObjectId id) const {
    auto const data = readRetryCounter(transmit_, RetryCounterP1, id, 3);
    if (!data) {
        return boost::none;
    }
    return RetryCounter{(*data)[0], (*data)[1], toAuthObjectState((*data)[2])};
}

boost::optional<std::uint16_t> AccessControlCommands::getRetryCounterChallengeResponse(
    AuthObjectId id) const {
    auto const data = readRetryCounter(transmit_, ChallengeResponseCounterP1, id, 2);
    if (!data) {
        return boost::none;
    }
    return static_cast<std::uint16_t>(((*data)[0] << 8) | (*data)[1]);
}

bool AccessControlCommands::expirePin(AuthObjectId id) {
    auto const response =
        transmit_.Transmit(Apdu(ins_expire_pin::Cla, ins_expire_pin::Ins, 0x00, id.GetValue(), 0));
    if (statusWord(response) == SwReferenceNotFound) {
        throw velk::secure_elt_err::RefDataNotFound("Authentication object not found");
    }
    return pinUpdateResult(response);
}

bool AccessControlCommands::deauthenticate(AuthObjectId id,
                                           iso7816::interchange::ChannelId channel) const {
    // P1 bit 7 asks for all channels, so a number that sets it would not name one channel.
    if (channel.GetValue() >= AllChannelsP1) {
        throw velk::InputError("Channel number out of range");
    }
    return sendDeauthenticate(transmit_, channel.GetValue(), id);
}

bool AccessControlCommands::deauthenticate(AuthObjectId id) const {
    return sendDeauthenticate(transmit_, iso7816::interchange::BasicChannel.GetValue(), id);
}

bool AccessControlCommands::deauthenticateAllChannels(AuthObjectId id) const {
    return sendDeauthenticate(transmit_, AllChannelsP1, id);
}

void AccessControlCommands::disableSecureMessaging() {
    expectSuccess(
        transmit_.Transmit(Apdu(ins_disable_enable_secure_messaging::Cla,
                                ins_disable_enable_secure_messaging::Ins, 0x00, 0x00, 0)));
}

}  // namespace teappletlib::interchange::cmd::impl::apdu
