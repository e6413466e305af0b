#pragma once

#include <string>
#include <utility>
#include <vector>

#include "seed_registry.hpp"

namespace testsupport::fuzz::seeds {

// The PKCS#15 files of the simulator's cards, by name: the certificate directories, single
// entries, token infos and the certificates themselves.
std::vector<std::pair<std::string, Seed>> pkcs15Files();

}  // namespace testsupport::fuzz::seeds
