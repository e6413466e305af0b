#pragma once

namespace iso7816::interchange {

// 63Cx: a wrong PIN, with the remaining tries in the low nibble.
bool IsBadVerify(unsigned short sw) noexcept;
// The remaining tries of a 63Cx word; meaningful only when IsBadVerify holds.
unsigned GetBadVerifyRetryCounter(unsigned short sw) noexcept;
// 6400 to 66FF.
bool IsExecutionError(unsigned short sw) noexcept;
// 6700 to 6FFF.
bool IsCheckingError(unsigned short sw) noexcept;

}  // namespace iso7816::interchange
