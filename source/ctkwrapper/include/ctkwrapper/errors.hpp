#pragma once

#include <string>
#include <system_error>

#include "cardservice/card_service.hpp"
#include "velk/exceptions.hpp"

namespace ctkwrapper {

// The card service's error codes as std::error_code values of the category "CTK": 0 is success,
// 1 to 9 the service's codes -1 to -9, 10 any other code.
class ErrorCategory : public std::error_category {
public:
    char const* name() const noexcept override;
    std::string message(int value) const override;
};

extern ErrorCategory const errorCategory;

int errorToCode(cardservice::Error const* error);
std::error_code createErrorCode(cardservice::Error const* error);

// The card service behaved in a way the bridge does not accept.
class UnexpectedCtkError : public velk::EnvironmentError {
public:
    using velk::EnvironmentError::EnvironmentError;
    ~UnexpectedCtkError() override;
};

// The card service did not answer a request within the bridge's bound.
class NoReplyError : public UnexpectedCtkError {
public:
    using UnexpectedCtkError::UnexpectedCtkError;
    ~NoReplyError() override;
};

}  // namespace ctkwrapper
