#pragma once

#include <string>

namespace engine::detail {

// Why the platform's card service could not be used, in the terms of the service the library
// is built for, and what to do about it; bridgeText is what the reader-access bridge said,
// returned unchanged when the service turns out to be there. Defined once per card-service
// backend.
std::string describeUnavailableCardService(std::string const& bridgeText);

}  // namespace engine::detail
