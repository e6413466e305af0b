#pragma once

#include <cstdint>
#include <vector>

namespace testsupport::cardsim {

// Command and response bytes as the simulator takes and gives them.
using ByteVector = std::vector<std::uint8_t>;

}  // namespace testsupport::cardsim
