#include "seed_registry.hpp"

namespace testsupport::fuzz::seeds {

// A function-local table, so that registrations from any file find it constructed.
std::vector<SeedSource>& seedSources() {
    static std::vector<SeedSource> sources;
    return sources;
}

}  // namespace testsupport::fuzz::seeds
