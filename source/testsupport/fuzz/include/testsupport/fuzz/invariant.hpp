#pragma once

#include <cstdio>
#include <cstdlib>

namespace testsupport::fuzz {

// A property a reader promises for every input; a broken one aborts, which libFuzzer reports
// as a crash with the input that broke it.
inline void requireInvariant(bool holds, char const* what) {
    if (!holds) {
        std::fprintf(stderr, "Broken invariant: %s\n", what);
        std::abort();
    }
}

}  // namespace testsupport::fuzz
