#include "iso7816/interchange/status_word.hpp"

#include "iso7816/interchange/apdu_response.hpp"

namespace iso7816::interchange {

namespace {

constexpr unsigned short BadVerify = 0x63C0;

}  // namespace

bool IsBadVerify(unsigned short sw) noexcept {
    return (sw & ApduResponse::BadVerifyMask) == BadVerify;
}

unsigned GetBadVerifyRetryCounter(unsigned short sw) noexcept {
    return static_cast<unsigned>(sw - BadVerify);
}

bool IsExecutionError(unsigned short sw) noexcept {
    return sw >= 0x6400 && sw <= 0x66FF;
}

bool IsCheckingError(unsigned short sw) noexcept {
    return sw >= 0x6700 && sw <= 0x6FFF;
}

}  // namespace iso7816::interchange
