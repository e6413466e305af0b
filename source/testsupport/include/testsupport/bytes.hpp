#pragma once

#include <algorithm>
#include <string>

#include "velk/allocated_string.hpp"
#include "velk/octet.hpp"

namespace testsupport {

// Plain byte strings for expectations: comparable and printable by the test framework.
using Bytes = std::basic_string<unsigned char>;

inline Bytes plain(velk::basic_allocated_string<unsigned char> const& bytes) {
    return Bytes(bytes.begin(), bytes.end());
}

inline Bytes plain(velk::basic_allocated_string<velk::Octet> const& octets) {
    Bytes bytes(octets.size(), 0);
    std::transform(octets.begin(), octets.end(), bytes.begin(), velk::toNumber);
    return bytes;
}

inline velk::basic_allocated_string<unsigned char> secure(Bytes const& bytes) {
    return {bytes.data(), bytes.size()};
}

}  // namespace testsupport
