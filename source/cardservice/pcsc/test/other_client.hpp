#pragma once

#include <string>

namespace cardservice::pcsc::testing {

// Another application of the daemon, with a context of its own.
struct OtherClient {
    // Connects to the card in reader and resets it; true when that worked.
    static bool resetCard(std::string const& reader);
};

}  // namespace cardservice::pcsc::testing
