#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "testsupport/cardsim/card_type.hpp"
#include "velk/allocated_string.hpp"

namespace testsupport::virtualcard {

struct VirtualCardOptions {
    cardsim::CardType type = cardsim::CardType::Gen3;
    velk::basic_allocated_string<char> pin{"1234"};
    // Empty: no APDU log.
    std::string logPath;
    std::string host = "127.0.0.1";
    std::uint16_t port = 35963;
};

// Throws std::invalid_argument with a usage text for an unknown option or value.
VirtualCardOptions parseOptions(std::vector<std::string> const& arguments);

std::string usage();

}  // namespace testsupport::virtualcard
