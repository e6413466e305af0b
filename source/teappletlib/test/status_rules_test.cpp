#include "teappletlib/interchange/cmd/impl/apdu/status_rules.hpp"

#include <gtest/gtest.h>

#include <sstream>

#include "outcome.hpp"

namespace teappletlib::interchange::cmd::impl::apdu {
namespace {

using iso7816::interchange::ApduResponse;

struct RuleCase {
    std::uint16_t sw;
    std::string expected;
};

void PrintTo(RuleCase const& c, std::ostream* os) {
    *os << std::hex << c.sw;
}

class AppletStatusRules : public ::testing::TestWithParam<RuleCase> {};

// Every form ends in the same exception for the same word.
TEST_P(AppletStatusRules, MapEveryFormOfTheWordToTheSameException) {
    ApduResponse::Code const code{GetParam().sw};
    ApduResponse const response{code, {}};
    iso7816::interchange::spec::Iso7816Response const parsed{response};
    EXPECT_EQ(GetParam().expected, test::outcomeOf([&]() -> std::string { processError(code); }));
    EXPECT_EQ(GetParam().expected,
              test::outcomeOf([&]() -> std::string { processError(response); }));
    EXPECT_EQ(GetParam().expected, test::outcomeOf([&]() -> std::string { processError(parsed); }));
}

INSTANTIATE_TEST_SUITE_P(
    Words, AppletStatusRules,
    ::testing::Values(
        // The applet's own meanings, whatever the low byte.
        RuleCase{0x6400, "PinPolicyError: PIN policy check failed"},
        RuleCase{0x6481, "PinPolicyError: PIN policy check failed"},
        RuleCase{0x64FF, "PinPolicyError: PIN policy check failed"},
        RuleCase{0x6700, "WrongLength: Data length is incorrect"},
        RuleCase{0x6781, "WrongLength: Data length is incorrect"},
        RuleCase{0x67FF, "WrongLength: Data length is incorrect"},
        // Everything else is the shared ISO mapping's.
        RuleCase{0x6A82, "FileNotFound: File not found"},
        RuleCase{0x6983, "AuthMethodBlocked: Authentication method blocked"},
        RuleCase{0x6581, "PersistentStateError: Execution error: 6581"},
        RuleCase{0x6A86, "PersistentStateError: Checking error: 6a86"},
        RuleCase{0x6881, "LogicalChannelsNotSupported: Logical channels not supported"},
        RuleCase{0x63FF, "PersistentStateError: Unexpected error: 63ff"},
        RuleCase{0x6100, "PersistentStateError: Unexpected error: 6100"}),
    [](auto const& info) {
        std::ostringstream name;
        name << "Sw" << std::hex << std::uppercase << info.param.sw;
        return name.str();
    });

TEST(AppletStatusRules, SuccessWordHandedOverIsUnexpected) {
    ApduResponse const response{ApduResponse::Code{0x9000}, {}};
    EXPECT_EQ("PersistentStateError: Unexpected error: 9000",
              test::outcomeOf([&]() -> std::string { processError(response); }));
}

// A parser that found a 9000 reply malformed keeps no word; that is reported as such.
class MalformedResponse : public iso7816::interchange::spec::Iso7816Response {
public:
    explicit MalformedResponse(ApduResponse const& response) : Iso7816Response(response) {
        markMalformed_();
    }
};

TEST(AppletStatusRules, ResponseWithoutStatusWordIsInvalid) {
    MalformedResponse const parsed{ApduResponse{ApduResponse::Code{0x9000}, {}}};
    EXPECT_EQ("ResponseError: Invalid response",
              test::outcomeOf([&]() -> std::string { processError(parsed); }));
}

}  // namespace
}  // namespace teappletlib::interchange::cmd::impl::apdu
