#pragma once

#include <cstdint>

namespace teappletlib::interchange {

// Allowed PIN lengths in characters, both ends included.
struct PinLengthRange {
    std::uint64_t min;
    std::uint64_t max;
};

// A range whose min exceeds its max contains nothing.
constexpr bool rangeContains(PinLengthRange const& range, unsigned long n) noexcept {
    return range.min <= n && n <= range.max;
}

}  // namespace teappletlib::interchange
