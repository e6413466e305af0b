#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testsupport::fuzz::seeds {

using Seed = std::vector<std::uint8_t>;

// Receives the seeds of one fuzzer; each name is unique within it.
class SeedSink {
public:
    virtual ~SeedSink() = default;
    virtual void add(std::string const& name, Seed const& seed) = 0;
};

// The seed producers, each for the fuzzer of its name. A producer registers itself from its own
// file, so that a component's seeds come and go with the sources that CMake adds.
struct SeedSource {
    char const* fuzzer;
    void (*produce)(SeedSink& sink);
};

std::vector<SeedSource>& seedSources();

struct SeedRegistration {
    SeedRegistration(char const* fuzzer, void (*produce)(SeedSink& sink)) {
        seedSources().push_back(SeedSource{fuzzer, produce});
    }
};

}  // namespace testsupport::fuzz::seeds
