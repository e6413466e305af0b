#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>

#include "teappletlib/interchange/cmd/impl/apdu/encoding.hpp"

namespace teappletlib::interchange::cmd::impl::apdu {

constexpr std::uint8_t highByte(unsigned int value) noexcept {
    return static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

constexpr std::uint8_t lowByte(unsigned int value) noexcept {
    return static_cast<std::uint8_t>(value & 0xFF);
}

// The low 16 bits of value, most significant first.
inline Bytes bigEndian16(unsigned int value) {
    return {highByte(value), lowByte(value)};
}

// Saturated, so that a length beyond the APDU model is refused by the encoder instead of wrapping
// into a small Le.
constexpr std::uint32_t expectedLength(unsigned long length) noexcept {
    return static_cast<std::uint32_t>(
        std::min<unsigned long>(length, std::numeric_limits<std::uint32_t>::max()));
}

}  // namespace teappletlib::interchange::cmd::impl::apdu
