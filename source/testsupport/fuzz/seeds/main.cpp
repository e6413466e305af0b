// Writes the seed corpora of the fuzzers: fuzzseeds <directory> creates <directory>/<fuzzer>/
// with one file per seed. Existing seeds of the same name are overwritten; others stay.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <utility>

#include "seed_registry.hpp"

namespace {

using testsupport::fuzz::seeds::Seed;

class DirectorySink : public testsupport::fuzz::seeds::SeedSink {
public:
    explicit DirectorySink(std::filesystem::path directory) : directory_(std::move(directory)) {
        std::filesystem::create_directories(directory_);
    }

    void add(std::string const& name, Seed const& seed) override {
        std::ofstream file(directory_ / name, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<char const*>(seed.data()),
                   static_cast<std::streamsize>(seed.size()));
        if (!file) {
            throw std::runtime_error("cannot write seed " + (directory_ / name).string());
        }
        ++count_;
    }

    int count() const { return count_; }

private:
    std::filesystem::path directory_;
    int count_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus directory>\n", argv[0]);
        return 2;
    }
    try {
        for (auto const& source : testsupport::fuzz::seeds::seedSources()) {
            DirectorySink sink(std::filesystem::path(argv[1]) / source.fuzzer);
            source.produce(sink);
            std::printf("%s: %d seeds\n", source.fuzzer, sink.count());
        }
    } catch (std::exception const& e) {
        std::fprintf(stderr, "fuzzseeds: %s\n", e.what());
        return 1;
    }
    return 0;
}
