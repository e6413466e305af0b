#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace der::detail {

// Where the parts of one complete element lie, counted from its first byte.
struct ElementHeader {
    std::size_t identifierLength;
    std::size_t lengthOctets;
    std::size_t valueLength;

    std::size_t ValueOffset() const noexcept { return identifierLength + lengthOctets; }
    std::size_t Total() const noexcept { return ValueOffset() + valueLength; }
};

// Octet count of the identifier at `data`; 0 when there is none or it does not end in time.
std::size_t IdentifierLength(unsigned char const* data, std::size_t size) noexcept;

// The header of the element at `data` when the whole element lies within `size` bytes.
std::optional<ElementHeader> ParseElement(unsigned char const* data, std::size_t size) noexcept;

// Byte count of the element at `pos` of a run of elements; 0 where the walk stops there.
std::size_t NextElementLength(std::basic_string<unsigned char> const& bytes,
                              std::size_t pos) noexcept;

}  // namespace der::detail
