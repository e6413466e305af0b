#include "teappletlib/interchange/cmd/impl/apdu/aux_commands.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "command_cases.hpp"

namespace teappletlib::interchange::cmd {
namespace {

using testsupport::Bytes;
using ExchangeCase = test::ExchangeCase<AuxCommands>;
using RefusalCase = test::RefusalCase<AuxCommands>;
using testsupport::secure;
using Call = std::function<std::string(AuxCommands&)>;

Call initialise(ObjectLimits limits, PinLengthRange range, unsigned int tries, Bytes pin) {
    return [=](AuxCommands& c) {
        c.initialiseApplet(limits, range, tries, secure(pin));
        return std::string("done");
    };
}

Call setLifecycle(std::uint32_t value) {
    return [=](AuxCommands& c) {
        c.setLifecycle(static_cast<Lifecycle>(value));
        return std::string("done");
    };
}

Call const InitialiseShortPin = initialise({1, 2, 3}, {4, 8}, 3, {0x31, 0x32, 0x33, 0x34});
Bytes const InitialiseShortPinApdu{0x80, 0xAE, 0x00, 0x00, 0x0D, 0x48, 0x03, 0x31, 0x32,
                                   0x33, 0x34, 0x00, 0x00, 0x00, 0x00, 0x01, 0x02, 0x03};

class AuxExchange : public ::testing::TestWithParam<ExchangeCase> {};

TEST_P(AuxExchange, SendsTheCommandOnceAndReadsItsAnswer) {
    EXPECT_EQ(GetParam().expected, test::exchangeOutcome<impl::apdu::AuxCommands>(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(
    Commands, AuxExchange,
    ::testing::Values(
        ExchangeCase{"InitialisePadsPinToMax",
                     InitialiseShortPin,
                     InitialiseShortPinApdu,
                     {0x90, 0x00},
                     "done"},
        ExchangeCase{
            "InitialiseFullLengthPinUnpadded",
            initialise({0, 255, 16}, {2, 4}, 15, {0xA1, 0xA2, 0xA3, 0xA4}),
            {0x80, 0xAE, 0x00, 0x00, 0x09, 0x24, 0x0F, 0xA1, 0xA2, 0xA3, 0xA4, 0x00, 0xFF, 0x10},
            {0x90, 0x00},
            "done"},
        ExchangeCase{"InitialiseRefused",
                     InitialiseShortPin,
                     InitialiseShortPinApdu,
                     {0x69, 0x85},
                     "PreconditionError: Some precondition was not met"},
        ExchangeCase{"InitialisePinPolicy",
                     InitialiseShortPin,
                     InitialiseShortPinApdu,
                     {0x64, 0x01},
                     "PinPolicyError: PIN policy check failed"},
        ExchangeCase{
            "SetLifecycle", setLifecycle(0x0F), {0x80, 0xEE, 0x0F, 0x00}, {0x90, 0x00}, "done"},
        ExchangeCase{"SetLifecycleHighestValue",
                     setLifecycle(0xFF),
                     {0x80, 0xEE, 0xFF, 0x00},
                     {0x90, 0x00},
                     "done"},
        ExchangeCase{"SetLifecycleWrongLength",
                     setLifecycle(0x0F),
                     {0x80, 0xEE, 0x0F, 0x00},
                     {0x67, 0x00},
                     "WrongLength: Data length is incorrect"},
        ExchangeCase{"SetLifecycleOtherWord",
                     setLifecycle(0x0F),
                     {0x80, 0xEE, 0x0F, 0x00},
                     {0x6A, 0x80},
                     "WrongData: The specified data was incorrect"}),
    test::CaseName());

class AuxRefusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(AuxRefusal, SendsNothing) {
    EXPECT_EQ(GetParam().expected, test::refusalOutcome<impl::apdu::AuxCommands>(GetParam()));
}

Bytes const FourBytePin{0x31, 0x32, 0x33, 0x34};

INSTANTIATE_TEST_SUITE_P(
    Arguments, AuxRefusal,
    ::testing::Values(
        RefusalCase{"MaxTooLarge", initialise({1, 2, 3}, {4, 16}, 3, FourBytePin),
                    "WrongData: The maximum master PIN length was too large"},
        RefusalCase{"MaxCheckedBeforePinLength", initialise({1, 2, 3}, {4, 16}, 3, {0x31}),
                    "WrongData: The maximum master PIN length was too large"},
        RefusalCase{"PinTooShort", initialise({1, 2, 3}, {4, 8}, 3, {0x31, 0x32, 0x33}),
                    "WrongData: Master PIN length incorrect"},
        RefusalCase{"PinTooLong", initialise({1, 2, 3}, {4, 8}, 3, Bytes(9, 0x31)),
                    "WrongData: Master PIN length incorrect"},
        RefusalCase{"InvertedRangeFitsNoPin", initialise({1, 2, 3}, {8, 4}, 3, Bytes(6, 0x31)),
                    "WrongData: Master PIN length incorrect"},
        RefusalCase{"TooManyTries", initialise({1, 2, 3}, {4, 8}, 16, FourBytePin),
                    "WrongData: The maximum tries for the master PIN is too large"},
        RefusalCase{"Limit0DoesNotFitItsByte", initialise({256, 2, 3}, {4, 8}, 3, FourBytePin),
                    "WrongData: Object limit too large"},
        RefusalCase{"Limit2DoesNotFitItsByte", initialise({1, 2, 0x10000}, {4, 8}, 3, FourBytePin),
                    "WrongData: Object limit too large"},
        RefusalCase{"LifecycleDoesNotFitItsByte", setLifecycle(0x1234),
                    "WrongData: Life-cycle value too large"}),
    test::CaseName());

}  // namespace
}  // namespace teappletlib::interchange::cmd
