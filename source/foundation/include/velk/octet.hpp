#pragma once

#include <cstddef>
#include <string>

namespace velk {

// One byte of card data as a type of its own: it converts to and from unsigned char only
// through toOctet and toNumber, so octets and characters do not mix by accident.
enum class Octet : unsigned char {};

constexpr Octet toOctet(unsigned char value) noexcept {
    return static_cast<Octet>(value);
}
constexpr unsigned char toNumber(Octet value) noexcept {
    return static_cast<unsigned char>(value);
}

namespace literals {

// Keeps the low 8 bits: 0x1FF_octet is the octet 0xFF.
constexpr Octet operator""_octet(unsigned long long value) noexcept {
    return toOctet(static_cast<unsigned char>(value & 0xFFu));
}

std::basic_string<Octet> operator""_octstr(char const* text, std::size_t n);

}  // namespace literals
}  // namespace velk
