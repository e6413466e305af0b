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
constexpr std::underlying_type_t<E> bitsOf(E value) noexcept {
    return static_cast<std::underlying_type_t<E>>(value);
}

}  // namespace detail

constexpr KeyControlFlags& operator|=(KeyControlFlags& a, KeyControlFlags b) noexcept {
    return a = static_cast<KeyControlFlags>(detail::bitsOf(a) | detail::bitsOf(b));
}
constexpr KeyControlFlags& operator&=(KeyControlFlags& a, KeyControlFlags b) noexcept {
    return a = static_cast<KeyControlFlags>(detail::bitsOf(a) & detail::bitsOf(b));
}
constexpr KeyControlFlags& operator^=(KeyControlFlags& a, KeyControlFlags b) noexcept {
    return a = static_cast<KeyControlFlags>(detail::bitsOf(a) ^ detail::bitsOf(b));
}

constexpr KeyPart operator|(KeyPart a, KeyPart b) noexcept {
    return static_cast<KeyPart>(detail::bitsOf(a) | detail::bitsOf(b));
}
constexpr KeyPart operator&(KeyPart a, KeyPart b) noexcept {
    return static_cast<KeyPart>(detail::bitsOf(a) & detail::bitsOf(b));
}
constexpr KeyPart operator^(KeyPart a, KeyPart b) noexcept {
    return static_cast<KeyPart>(detail::bitsOf(a) ^ detail::bitsOf(b));
}
constexpr KeyPart& operator|=(KeyPart& a, KeyPart b) noexcept {
    return a = a | b;
}
constexpr KeyPart& operator&=(KeyPart& a, KeyPart b) noexcept {
    return a = a & b;
}
constexpr KeyPart& operator^=(KeyPart& a, KeyPart b) noexcept {
    return a = a ^ b;
}

}  // namespace teappletlib::interchange
