// Seeds of the fuzzers that read files and elements: real PKCS#15 files and certificates, the
// primitive elements inside them, and slice paths paired with the files they are meant for.
#include <set>
#include <string>

#include "der/der_iterator.hpp"
#include "pkcs15_files.hpp"
#include "seed_registry.hpp"

namespace testsupport::fuzz::seeds {

namespace {

using Bytes = std::basic_string<unsigned char>;

constexpr unsigned char Constructed = 0x20;

bool startsWith(std::string const& text, char const* prefix) {
    return text.rfind(prefix, 0) == 0;
}

void addFiles(SeedSink& sink, char const* prefix) {
    for (auto const& [name, file] : pkcs15Files()) {
        if (startsWith(name, prefix)) {
            sink.add(name, file);
        }
    }
}

void addElementSeeds(SeedSink& sink) {
    addFiles(sink, "");
}

void collectPrimitives(Bytes const& run, std::set<Bytes>& primitives) {
    CDerIterator const elements(run);
    for (unsigned long i = 0, count = elements.NumDers(); i < count; ++i) {
        CDerString const element = elements.GetDer(i);
        Bytes const& bytes = element;
        if ((bytes[0] & Constructed) != 0) {
            collectPrimitives(element.Val(), primitives);
        } else {
            primitives.insert(bytes);
        }
    }
}

void addPrimitiveSeeds(SeedSink& sink) {
    std::set<Bytes> primitives;
    for (auto const& [name, file] : pkcs15Files()) {
        collectPrimitives(Bytes(file.begin(), file.end()), primitives);
    }
    int number = 0;
    for (auto const& primitive : primitives) {
        sink.add("primitive_" + std::to_string(++number), Seed(primitive.begin(), primitive.end()));
    }
}

// The paths the PKCS#15 readers take, each with a file it fits.
struct PathCase {
    char const* path;
    char const* file;
};

constexpr PathCase PathCases[] = {
    {"!SEQ{!SEQ{?UT8{", "entry_1"},
    {"!SEQ{!SEQ{?UT8{", "entry_unlabelled"},
    {"!SEQ{!SEQ{?UT8?BIT?OCT", "entry_2"},
    {"!SEQ{!SEQ!SEQ{!OCT?BOO", "entry_4"},
    {"!SEQ{!SEQ!SEQ?CC0!CC1{!SEQ{!SEQ", "entry_1"},
    {"!SEQ{!SEQ!SEQ?CC0!CC1{!SEQ{!SEQ{!OCT{", "entry_3"},
    {"!SEQ{!INT!OCT?UT8!CP0{", "token_info"},
    {"!SEQ{!INT!OCT?UT8!CP0{", "token_info_bare"},
    {"!SEQ{!SEQ!ANY!BIT", "certificate_1"},
    {"2{!SEQ", "directory"},
};

void addSlicePathSeeds(SeedSink& sink) {
    auto const files = pkcs15Files();
    int number = 0;
    for (auto const& pathCase : PathCases) {
        for (auto const& [name, file] : files) {
            if (name == pathCase.file) {
                std::string const path(pathCase.path);
                Seed seed(path.begin(), path.end());
                seed.push_back(0x00);
                seed.insert(seed.end(), file.begin(), file.end());
                sink.add("path_" + std::to_string(++number) + "_" + name, seed);
            }
        }
    }
}

void addDirectorySeeds(SeedSink& sink) {
    addFiles(sink, "directory");
    addFiles(sink, "entry");
}

void addTokenInfoSeeds(SeedSink& sink) {
    addFiles(sink, "token_info");
}

SeedRegistration const elements("der_element_fuzz", &addElementSeeds);
SeedRegistration const primitives("der_primitives_fuzz", &addPrimitiveSeeds);
SeedRegistration const slicePaths("der_slice_path_fuzz", &addSlicePathSeeds);
SeedRegistration const directories("pkcs15_directory_fuzz", &addDirectorySeeds);
SeedRegistration const tokenInfos("pkcs15_token_info_fuzz", &addTokenInfoSeeds);

}  // namespace

}  // namespace testsupport::fuzz::seeds
