#include "teappletlib/interchange/cmd/impl/apdu/access_control_commands.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "command_cases.hpp"

namespace teappletlib::interchange::cmd {
namespace {

using testsupport::Bytes;
using ExchangeCase = test::ExchangeCase<AccessControlCommands>;
using RefusalCase = test::RefusalCase<AccessControlCommands>;
using Pin = AccessControlCommands::Pin;
using Call = std::function<std::string(AccessControlCommands&)>;

std::string text(bool value) {
    return value ? "true" : "false";
}

std::string text(PinVerifyResult const& result) {
    return result.verified ? "verified"
                           : "not verified, " + std::to_string(result.triesRemaining) + " left";
}

std::string text(boost::optional<RetryCounter> const& counter) {
    if (!counter) {
        return "none";
    }
    return "first " + std::to_string(counter->first) + ", remaining " +
           std::to_string(counter->remaining) + ", state " +
           std::to_string(static_cast<std::uint32_t>(counter->state));
}

std::string text(boost::optional<std::uint16_t> const& counter) {
    return counter ? std::to_string(*counter) : "none";
}

AuthObjectId const Id2{2};
AuthObjectId const Id3{3};

Call const CreatePinAnybody = [](AccessControlCommands& c) {
    return "id " + std::to_string(c.createPin({4, 15}, 15, true, Acl::Anybody).GetValue());
};
Call const CreatePinWithRule = [](AccessControlCommands& c) {
    Acl const rule{AclOr{AclAnd{AuthObjectId{2}}, AclAnd{AuthObjectId{3}, AuthObjectId{4}}}};
    return "id " + std::to_string(c.createPin({4, 8}, 3, false, rule).GetValue());
};
Call const VerifyStatus = [](AccessControlCommands& c) { return text(c.verifyPin(Id2)); };
Call const VerifyPin = [](AccessControlCommands& c) { return text(c.verifyPin(Id2, Pin("1234"))); };
Call const SetPin = [](AccessControlCommands& c) { return text(c.changePin(Id3, Pin("5678"))); };
Call const ChangePin = [](AccessControlCommands& c) {
    return text(c.changePin(Id3, Pin("111111111111111"), Pin("222222222222222")));
};
Call const RetryCounterOf2 = [](AccessControlCommands& c) { return text(c.getRetryCounter(Id2)); };
Call const ChallengeCounterOf2 = [](AccessControlCommands& c) {
    return text(c.getRetryCounterChallengeResponse(Id2));
};
Call const ExpirePin = [](AccessControlCommands& c) { return text(c.expirePin(Id2)); };
Call const DeauthenticateChannel2 = [](AccessControlCommands& c) {
    return text(c.deauthenticate(Id2, iso7816::interchange::ChannelId{2}));
};
Call const Deauthenticate = [](AccessControlCommands& c) { return text(c.deauthenticate(Id2)); };
Call const DeauthenticateAll = [](AccessControlCommands& c) {
    return text(c.deauthenticateAllChannels(Id2));
};
Call const DisableSm = [](AccessControlCommands& c) {
    c.disableSecureMessaging();
    return std::string("done");
};

Bytes const CreatePinAnybodyApdu{0x80, 0x30, 0x8F, 0x4F, 0x04, 0x03, 0x02, 0x01, 0x00, 0x01};
Bytes const VerifyPinApdu{0x00, 0x20, 0x00, 0x02, 0x04, 0x31, 0x32, 0x33, 0x34};
Bytes const SetPinApdu{0x00, 0x24, 0x01, 0x03, 0x04, 0x35, 0x36, 0x37, 0x38};
Bytes const ChangePinApdu = Bytes{0x00, 0x24, 0x00, 0x03, 0x1E} + Bytes(15, 0x31) + Bytes(15, 0x32);
Bytes const RetryCounterApdu{0x80, 0x34, 0x00, 0x02, 0x03};
Bytes const ChallengeCounterApdu{0x80, 0x34, 0x01, 0x02, 0x02};
Bytes const ExpirePinApdu{0x80, 0x3D, 0x00, 0x02};
Bytes const DeauthenticateChannel2Apdu{0x80, 0x35, 0x02, 0x02};
Bytes const DeauthenticateAllApdu{0x80, 0x35, 0x80, 0x02};
Bytes const DisableSmApdu{0x80, 0x3F, 0x00, 0x00};

class AccessControlExchange : public ::testing::TestWithParam<ExchangeCase> {};

TEST_P(AccessControlExchange, SendsTheCommandOnceAndReadsItsAnswer) {
    EXPECT_EQ(GetParam().expected,
              test::exchangeOutcome<impl::apdu::AccessControlCommands>(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(
    Commands, AccessControlExchange,
    ::testing::Values(
        ExchangeCase{"CreatePinReturnsNewId",
                     CreatePinAnybody,
                     CreatePinAnybodyApdu,
                     {0x05, 0x90, 0x00},
                     "id 5"},
        ExchangeCase{"CreatePinSendsRuleAndClearFlag",
                     CreatePinWithRule,
                     {0x80, 0x30, 0x03, 0x48, 0x0B, 0x03, 0x09, 0x01, 0x07, 0x02, 0x01, 0x02, 0x02,
                      0x02, 0x03, 0x04, 0x01},
                     {0x07, 0x90, 0x00},
                     "id 7"},
        ExchangeCase{"CreatePinWithoutIdIsMalformed",
                     CreatePinAnybody,
                     CreatePinAnybodyApdu,
                     {0x90, 0x00},
                     "ResponseError: Incorrect response length"},
        ExchangeCase{"CreatePinOutOfRange6A86",
                     CreatePinAnybody,
                     CreatePinAnybodyApdu,
                     {0x6A, 0x86},
                     "WrongData: The input were not within the permitted ranges"},
        ExchangeCase{"CreatePinOutOfRange6A81",
                     CreatePinAnybody,
                     CreatePinAnybodyApdu,
                     {0x6A, 0x81},
                     "WrongData: The input were not within the permitted ranges"},
        ExchangeCase{"CreatePinOtherWord",
                     CreatePinAnybody,
                     CreatePinAnybodyApdu,
                     {0x69, 0x82},
                     "SecurityCondNotSatisfied: Security condition not satisfied"},

        ExchangeCase{"VerifyStatusVerified",
                     VerifyStatus,
                     {0x00, 0x20, 0x00, 0x02},
                     {0x90, 0x00},
                     "verified"},
        ExchangeCase{"VerifyStatusTriesLeft",
                     VerifyStatus,
                     {0x00, 0x20, 0x00, 0x02},
                     {0x63, 0xC3},
                     "not verified, 3 left"},
        ExchangeCase{"VerifyPinRight", VerifyPin, VerifyPinApdu, {0x90, 0x00}, "verified"},
        ExchangeCase{
            "VerifyPinWrong", VerifyPin, VerifyPinApdu, {0x63, 0xC3}, "not verified, 3 left"},
        ExchangeCase{
            "VerifyPinNoTriesLeft", VerifyPin, VerifyPinApdu, {0x63, 0xC0}, "not verified, 0 left"},
        ExchangeCase{"VerifyPinBlocked",
                     VerifyPin,
                     VerifyPinApdu,
                     {0x69, 0x83},
                     "AuthMethodBlocked: Authentication method blocked"},
        ExchangeCase{"VerifyPinPolicy",
                     VerifyPin,
                     VerifyPinApdu,
                     {0x64, 0x00},
                     "PinPolicyError: PIN policy check failed"},

        ExchangeCase{"SetPinDone", SetPin, SetPinApdu, {0x90, 0x00}, "true"},
        ExchangeCase{"SetPinNotAllowed", SetPin, SetPinApdu, {0x69, 0x82}, "false"},
        ExchangeCase{"SetPinNotAPin",
                     SetPin,
                     SetPinApdu,
                     {0x6A, 0x86},
                     "RefDataNotFound: Authentication object is not a PIN"},
        ExchangeCase{"SetPinOtherWord",
                     SetPin,
                     SetPinApdu,
                     {0x6A, 0x88},
                     "RefDataNotFound: Referenced object not found"},

        ExchangeCase{
            "ChangePinSendsOldThenNew", ChangePin, ChangePinApdu, {0x90, 0x00}, "verified"},
        ExchangeCase{
            "ChangePinWrongOld", ChangePin, ChangePinApdu, {0x63, 0xC2}, "not verified, 2 left"},
        ExchangeCase{"ChangePinNotAPin",
                     ChangePin,
                     ChangePinApdu,
                     {0x6A, 0x86},
                     "RefDataNotFound: Authentication object is not a PIN"},
        ExchangeCase{"ChangePinWrongLength",
                     ChangePin,
                     ChangePinApdu,
                     {0x67, 0x00},
                     "WrongLength: Data length is incorrect"},

        ExchangeCase{"RetryCounterRead",
                     RetryCounterOf2,
                     RetryCounterApdu,
                     {0x03, 0x02, 0x81, 0x90, 0x00},
                     "first 3, remaining 2, state 3"},
        ExchangeCase{"RetryCounterState00",
                     RetryCounterOf2,
                     RetryCounterApdu,
                     {0x05, 0x05, 0x00, 0x90, 0x00},
                     "first 5, remaining 5, state 0"},
        ExchangeCase{"RetryCounterState02",
                     RetryCounterOf2,
                     RetryCounterApdu,
                     {0x03, 0x00, 0x02, 0x90, 0x00},
                     "first 3, remaining 0, state 2"},
        ExchangeCase{"RetryCounterState40",
                     RetryCounterOf2,
                     RetryCounterApdu,
                     {0x03, 0x01, 0x40, 0x90, 0x00},
                     "first 3, remaining 1, state 4"},
        ExchangeCase{"RetryCounterState41",
                     RetryCounterOf2,
                     RetryCounterApdu,
                     {0x03, 0x01, 0x41, 0x90, 0x00},
                     "first 3, remaining 1, state 5"},
        ExchangeCase{"RetryCounterUnknownState",
                     RetryCounterOf2,
                     RetryCounterApdu,
                     {0x03, 0x02, 0x7F, 0x90, 0x00},
                     "ResponseError: Incorrect object state"},
        ExchangeCase{"RetryCounterTooShort",
                     RetryCounterOf2,
                     RetryCounterApdu,
                     {0x03, 0x02, 0x90, 0x00},
                     "ResponseError: Response length is invalid"},
        ExchangeCase{
            "RetryCounterNoObject", RetryCounterOf2, RetryCounterApdu, {0x6A, 0x88}, "none"},

        ExchangeCase{"ChallengeCounterBigEndian",
                     ChallengeCounterOf2,
                     ChallengeCounterApdu,
                     {0x12, 0x34, 0x90, 0x00},
                     "4660"},
        ExchangeCase{"ChallengeCounterTooShort",
                     ChallengeCounterOf2,
                     ChallengeCounterApdu,
                     {0x12, 0x90, 0x00},
                     "ResponseError: Response length is invalid"},
        ExchangeCase{"ChallengeCounterNoObject",
                     ChallengeCounterOf2,
                     ChallengeCounterApdu,
                     {0x6A, 0x88},
                     "none"},

        ExchangeCase{"ExpirePinDone", ExpirePin, ExpirePinApdu, {0x90, 0x00}, "true"},
        ExchangeCase{"ExpirePinNotAllowed", ExpirePin, ExpirePinApdu, {0x69, 0x82}, "false"},
        ExchangeCase{"ExpirePinNotAPin",
                     ExpirePin,
                     ExpirePinApdu,
                     {0x6A, 0x86},
                     "RefDataNotFound: Authentication object is not a PIN"},
        ExchangeCase{"ExpirePinNoObject",
                     ExpirePin,
                     ExpirePinApdu,
                     {0x6A, 0x88},
                     "RefDataNotFound: Authentication object not found"},

        ExchangeCase{"DeauthenticateChannel",
                     DeauthenticateChannel2,
                     DeauthenticateChannel2Apdu,
                     {0x90, 0x00},
                     "true"},
        ExchangeCase{"DeauthenticateChannelNoObject",
                     DeauthenticateChannel2,
                     DeauthenticateChannel2Apdu,
                     {0x6A, 0x88},
                     "false"},
        ExchangeCase{"DeauthenticateChannelOtherWord",
                     DeauthenticateChannel2,
                     DeauthenticateChannel2Apdu,
                     {0x69, 0x85},
                     "PreconditionError: Some precondition was not met"},
        ExchangeCase{"DeauthenticateBasicChannel",
                     Deauthenticate,
                     {0x80, 0x35, 0x00, 0x02},
                     {0x90, 0x00},
                     "true"},
        ExchangeCase{"DeauthenticateAllChannels",
                     DeauthenticateAll,
                     DeauthenticateAllApdu,
                     {0x90, 0x00},
                     "true"},
        ExchangeCase{"DeauthenticateAllChannelsNoObject",
                     DeauthenticateAll,
                     DeauthenticateAllApdu,
                     {0x6A, 0x88},
                     "false"},

        ExchangeCase{"DisableSecureMessaging", DisableSm, DisableSmApdu, {0x90, 0x00}, "done"},
        ExchangeCase{"DisableSecureMessagingRefused",
                     DisableSm,
                     DisableSmApdu,
                     {0x69, 0x86},
                     "CommandNotAllowed: Command currently not allowed"}),
    test::CaseName());

class AccessControlRefusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(AccessControlRefusal, SendsNothing) {
    EXPECT_EQ(GetParam().expected,
              test::refusalOutcome<impl::apdu::AccessControlCommands>(GetParam()));
}

Call createPin(PinLengthRange range, unsigned int tries) {
    return [=](AccessControlCommands& c) {
        return "id " + std::to_string(c.createPin(range, tries, false, Acl::Anybody).GetValue());
    };
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, AccessControlRefusal,
    ::testing::Values(
        RefusalCase{"TooManyTries", createPin({4, 8}, 16),
                    "WrongData: PIN tries exceeds maximum PIN tries"},
        RefusalCase{"TriesCheckedFirst", createPin({9, 16}, 16),
                    "WrongData: PIN tries exceeds maximum PIN tries"},
        RefusalCase{"MinAboveMax", createPin({6, 5}, 3),
                    "WrongData: Minimum PIN length greater than maximum PIN length"},
        RefusalCase{"MinAboveMaxBeforeMaxTooHigh", createPin({17, 16}, 3),
                    "WrongData: Minimum PIN length greater than maximum PIN length"},
        RefusalCase{"MaxTooHigh", createPin({4, 16}, 3), "WrongData: Maximum PIN length too high"},
        RefusalCase{"EmptyPinIsNotTheStatusQuery",
                    [](AccessControlCommands& c) { return text(c.verifyPin(Id2, Pin())); },
                    "WrongData: PIN must not be empty"},
        // P1 80 would drop the verified state on every channel instead of one.
        RefusalCase{"ChannelNumberWithTheAllChannelsBit",
                    [](AccessControlCommands& c) {
                        return text(c.deauthenticate(Id2, iso7816::interchange::ChannelId{0x80}));
                    },
                    "InputError: Channel number out of range"}),
    test::CaseName());

TEST(AccessControlCommands, TransmissionErrorPropagatesUnchanged) {
    testsupport::ScriptedCard card;
    card.expect(VerifyPinApdu).fail(velk::CommunicationError("reader gone"));
    impl::apdu::AccessControlCommands commands(card.transmit());
    EXPECT_THROW(commands.verifyPin(Id2, Pin("1234")), velk::CommunicationError);
}

}  // namespace
}  // namespace teappletlib::interchange::cmd
