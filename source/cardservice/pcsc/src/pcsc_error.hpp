#pragma once

#include <string>

#include <winscard.h>

#include "cardservice/card_service.hpp"

namespace cardservice::impl::pcsc {

// The service's error for a PC/SC result; null for SCARD_S_SUCCESS. The description names the
// operation and the PC/SC code.
ErrorPtr errorFromPcsc(LONG result, std::string const& operation);

// For failures that PC/SC did not report, such as a bounded wait that gave up.
ErrorPtr makeError(ErrorCode code, std::string description);

}  // namespace cardservice::impl::pcsc
