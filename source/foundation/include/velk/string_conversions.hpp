#pragma once

#include <cstddef>
#include <ostream>
#include <string>

#include "velk/allocated_string.hpp"
#include "velk/erase_memory.hpp"
#include "velk/octet.hpp"

namespace velk {

// Copies a raw buffer that held secret data into a secure string (capacity n) and erases the
// source, also when the copy cannot be made.
template <typename T>
basic_allocated_string<T> RawToErased(T* p, std::size_t n) {
    try {
        basic_allocated_string<T> result(p, n);
        EraseMemory(p, n * sizeof(T));
        return result;
    } catch (...) {
        EraseMemory(p, n * sizeof(T));
        throw;
    }
}

// Between secure strings; each result has capacity = length.
basic_allocated_string<unsigned char> ToUnsignedString(basic_allocated_string<char> const& s);
basic_allocated_string<char> FromUnsignedString(basic_allocated_string<unsigned char> const& s);
basic_allocated_string<Octet> toOctetString(basic_allocated_string<unsigned char> const& s);
basic_allocated_string<char> toString(basic_allocated_string<Octet> const& s);

// Between plain standard strings, byte for byte.
std::basic_string<unsigned char> ToUnsignedString(std::string const& s);
std::string FromUnsignedString(std::basic_string<unsigned char> const& s);
std::basic_string<Octet> toOctetString(std::basic_string<unsigned char> const& s);
std::basic_string<Octet> toOctetString(std::string const& s);
std::basic_string<unsigned char> toUnsignedString(std::basic_string<Octet> const& s);
std::string toString(std::basic_string<Octet> const& s);

// Plain (non-secret) byte strings print as lower-case hex bytes separated by one space, e.g.
// "01 ab"; the stream's format is left as it was.
std::ostream& operator<<(std::ostream& os, std::basic_string<unsigned char> const& bytes);

}  // namespace velk

// A secure char string of the text, capacity = length.
velk::basic_allocated_string<char> operator""_erased(char const* text, std::size_t n);

std::basic_string<unsigned char> operator""_ustr(char const* text, std::size_t n);
