#include <cstdint>
#include <string>
#include <system_error>

#include <gtest/gtest.h>

#include "ctkwrapper/errors.hpp"

namespace ctkwrapper::test {
namespace {

struct CodeCase {
    std::int64_t serviceCode;
    int expected;
};

class ErrorToCode : public ::testing::TestWithParam<CodeCase> {};

TEST_P(ErrorToCode, MapsServiceCodesOntoTheCategory) {
    cardservice::Error const error(GetParam().serviceCode);
    EXPECT_EQ(errorToCode(&error), GetParam().expected);
    EXPECT_EQ(createErrorCode(&error).value(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Codes, ErrorToCode,
                         ::testing::Values(CodeCase{-1, 1}, CodeCase{-2, 2}, CodeCase{-7, 7},
                                           CodeCase{-9, 9}, CodeCase{-10, 10}, CodeCase{0, 10},
                                           CodeCase{5, 10}, CodeCase{INT64_MIN, 10},
                                           CodeCase{-4294967297LL, 10}));

TEST(ErrorCode, NoErrorIsSuccessInTheCtkCategory) {
    EXPECT_EQ(errorToCode(nullptr), 0);
    std::error_code const code = createErrorCode(nullptr);
    EXPECT_FALSE(code);
    EXPECT_EQ(&code.category(), &errorCategory);
}

TEST(ErrorCode, ServiceErrorTestsTrueAndMatchesNoGenericCondition) {
    cardservice::Error const error(cardservice::CommunicationError);
    std::error_code const code = createErrorCode(&error);
    EXPECT_TRUE(code);
    EXPECT_EQ(code, std::error_code(2, errorCategory));
    EXPECT_NE(code, std::errc::no_such_file_or_directory);
    EXPECT_NE(code, std::error_code(2, std::generic_category()));
}

TEST(ErrorCategory, IsNamedCtk) {
    EXPECT_STREQ(errorCategory.name(), "CTK");
}

TEST(ErrorCategory, GivesTheMessageOfEveryCode) {
    char const* const expected[] = {
        "success",
        "the functionality was not implemented",
        "a communication error occurred",
        "data was corrupted",
        "user canceled the operation",
        "authentication failed",
        "object was not found",
        "token was not found",
        "an invalid parameter was provided",
        "authentication is required",
        "unrecognized error",
    };
    for (int value = 0; value <= 10; ++value) {
        EXPECT_EQ(errorCategory.message(value), expected[value]) << value;
        EXPECT_EQ(std::error_code(value, errorCategory).message(), expected[value]) << value;
    }
}

TEST(ErrorCategory, CallsEveryValueOutsideTheTableUnrecognized) {
    for (int value : {11, -3, -1, 1000, INT32_MIN}) {
        EXPECT_EQ(errorCategory.message(value), "unrecognized error") << value;
    }
}

}  // namespace
}  // namespace ctkwrapper::test
