#include "pcsc_error.hpp"

#include <gtest/gtest.h>

#include <pcsclite.h>

#include <ostream>

namespace cardservice::impl::pcsc {
namespace {

struct ErrorCase {
    LONG result;
    std::int64_t code;
};

void PrintTo(ErrorCase const& c, std::ostream* os) {
    *os << pcsc_stringify_error(c.result);
}

class PcscErrorMapping : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(PcscErrorMapping, GivesTheServiceCode) {
    ErrorPtr const error = errorFromPcsc(GetParam().result, "SCardTransmit");
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->code(), GetParam().code);
    EXPECT_EQ(error->description().rfind("SCardTransmit: ", 0), 0U) << error->description();
}

INSTANTIATE_TEST_SUITE_P(
    Results, PcscErrorMapping,
    ::testing::Values(ErrorCase{static_cast<LONG>(SCARD_W_REMOVED_CARD), TokenNotFound},
                      ErrorCase{static_cast<LONG>(SCARD_E_NO_SMARTCARD), TokenNotFound},
                      ErrorCase{static_cast<LONG>(SCARD_E_UNKNOWN_READER), TokenNotFound},
                      ErrorCase{static_cast<LONG>(SCARD_E_READER_UNAVAILABLE), TokenNotFound},
                      ErrorCase{static_cast<LONG>(SCARD_E_COMM_DATA_LOST), CommunicationError},
                      ErrorCase{static_cast<LONG>(SCARD_F_COMM_ERROR), CommunicationError},
                      ErrorCase{static_cast<LONG>(SCARD_E_NOT_TRANSACTED), CommunicationError},
                      ErrorCase{static_cast<LONG>(SCARD_W_UNRESPONSIVE_CARD), CommunicationError},
                      ErrorCase{static_cast<LONG>(SCARD_E_NO_SERVICE), CommunicationError},
                      ErrorCase{static_cast<LONG>(SCARD_E_INVALID_PARAMETER), BadParameter},
                      ErrorCase{static_cast<LONG>(SCARD_E_UNSUPPORTED_FEATURE), NotImplemented},
                      ErrorCase{static_cast<LONG>(SCARD_E_CANCELLED), CanceledByUser},
                      // Anything the table does not know went wrong on the way to the card.
                      ErrorCase{static_cast<LONG>(SCARD_F_INTERNAL_ERROR), CommunicationError}));

TEST(PcscErrorMapping, SuccessIsNoError) {
    EXPECT_EQ(errorFromPcsc(SCARD_S_SUCCESS, "SCardTransmit"), nullptr);
}

}  // namespace
}  // namespace cardservice::impl::pcsc
