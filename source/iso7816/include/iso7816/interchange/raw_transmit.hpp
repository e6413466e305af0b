#pragma once

#include <cstddef>

#include "velk/allocated_string.hpp"

namespace iso7816::interchange {

// Sends raw command bytes and returns the raw reply bytes.
class RawTransmit {
public:
    virtual ~RawTransmit() = default;

    virtual velk::basic_allocated_string<unsigned char> Transmit(unsigned char const* data,
                                                                 std::size_t length) = 0;
    // Forwards to Transmit(data, length).
    virtual velk::basic_allocated_string<unsigned char> Transmit(
        velk::basic_allocated_string<unsigned char> const& bytes);
};

}  // namespace iso7816::interchange
