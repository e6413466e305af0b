#pragma once

#include <cstdint>

namespace teappletlib::interchange {

// The underlying types are unsigned so that a range check of a caller's value also rejects
// what would be a negative number.

enum class AsymAlg : std::uint32_t { Rsa = 0, Other = 1 };

// NoHash: the data handed to signing is already the complete block to be signed.
enum class HashAlg : std::uint32_t {
    NoHash = 0,
    Ref12 = 1,
    Ref32 = 2,
    Ref42 = 3,
    Ref52 = 4,
    Ref62 = 5,
};

enum class DecryptAlg : std::uint32_t { Ref00 = 0, Ref02 = 1 };

}  // namespace teappletlib::interchange
