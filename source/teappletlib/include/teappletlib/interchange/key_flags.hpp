#pragma once

#include <cstdint>
#include <type_traits>

namespace teappletlib::interchange {

// Flags of a new or unwrapped key, combined by the compound bit operators only. Their meaning is
// the applet's; the library sends the low byte unchanged.
enum class KeyControlFlags : std::uint32_t {};

// Which part of a key.
enum class KeyPart : std::uint32_t { First = 1, Second = 2, Both = 3 };

namespace detail {

template <class E>
constexpr E applyBits(E a, E b,
                      std::underlying_type_t<E> (*op)(std::underlying_type_t<E>,
                                                      std::underlying_type_t<E>)) {
    return static_cast<E>(
        op(static_cast<std::underlying_type_t<E>>(a), static_cast<std::underlying_type_t<E>>(b)));
}

constexpr std::uint32_t bitOr(std::uint32_t a, std::uint32_t b) {
    return a | b;
}
constexpr std::uint32_t bitAnd(std::uint32_t a, std::uint32_t b) {
    return a & b;
}
constexpr std::uint32_t bitXor(std::uint32_t a, std::uint32_t b) {
    return a ^ b;
}

}  // namespace detail

constexpr KeyControlFlags& operator|=(KeyControlFlags& a, KeyControlFlags b) {
    return a = detail::applyBits(a, b, detail::bitOr);
}
constexpr KeyControlFlags& operator&=(KeyControlFlags& a, KeyControlFlags b) {
    return a = detail::applyBits(a, b, detail::bitAnd);
}
constexpr KeyControlFlags& operator^=(KeyControlFlags& a, KeyControlFlags b) {
    return a = detail::applyBits(a, b, detail::bitXor);
}

constexpr KeyPart operator|(KeyPart a, KeyPart b) {
    return detail::applyBits(a, b, detail::bitOr);
}
constexpr KeyPart operator&(KeyPart a, KeyPart b) {
    return detail::applyBits(a, b, detail::bitAnd);
}
constexpr KeyPart operator^(KeyPart a, KeyPart b) {
    return detail::applyBits(a, b, detail::bitXor);
}
constexpr KeyPart& operator|=(KeyPart& a, KeyPart b) {
    return a = a | b;
}
constexpr KeyPart& operator&=(KeyPart& a, KeyPart b) {
    return a = a & b;
}
constexpr KeyPart& operator^=(KeyPart& a, KeyPart b) {
    return a = a ^ b;
}

}  // namespace teappletlib::interchange
