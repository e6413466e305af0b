#include "ctkwrapper/errors.hpp"

namespace ctkwrapper {

namespace {

// Codes 0 to 9 of the category; index = value.
char const* const messages[] = {
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
};

constexpr int unrecognized = 10;

}  // namespace

ErrorCategory const errorCategory{};

char const* ErrorCategory::name() const noexcept {
    return "CTK";
}

std::string ErrorCategory::message(int value) const {
    if (value < 0 || value >= unrecognized) {
        return "unrecognized error";
    }
    return messages[value];
}

int errorToCode(cardservice::Error const* error) {
    if (error == nullptr) {
        return 0;
    }
    auto const code = error->code();
    if (code >= -9 && code <= -1) {
        return static_cast<int>(-code);
    }
    return unrecognized;
}

std::error_code createErrorCode(cardservice::Error const* error) {
    return std::error_code(errorToCode(error), errorCategory);
}

UnexpectedCtkError::~UnexpectedCtkError() = default;
NoReplyError::~NoReplyError() = default;

}  // namespace ctkwrapper
