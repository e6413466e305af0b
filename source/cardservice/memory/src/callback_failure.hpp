#pragma once

namespace cardservice::memory::detail {

// Logs the exception being handled. For callbacks of tests and the stack above, whose failure
// must cost neither the service's thread nor the other callbacks anything.
void logCallbackFailure(char const* what) noexcept;

}  // namespace cardservice::memory::detail
