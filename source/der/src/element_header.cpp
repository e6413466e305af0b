#include "element_header.hpp"

namespace der::detail {

namespace {
constexpr unsigned char HighTagNumber = 0x1F;
constexpr unsigned char MoreOctets = 0x80;
// Identifiers are counted in 16 bits; anything longer is treated as garbage.
constexpr std::size_t MaxIdentifierLength = 0xFFFF;
}  // namespace

std::size_t IdentifierLength(unsigned char const* data, std::size_t size) noexcept {
    if (size == 0) {
        return 0;
    }
    if ((data[0] & HighTagNumber) != HighTagNumber) {
        return 1;
    }
    std::size_t i = 1;
    while (i < size && (data[i] & MoreOctets) != 0) {
        ++i;
    }
    if (i >= size || i + 1 > MaxIdentifierLength) {
        return 0;
    }
    return i + 1;
}

std::optional<ElementHeader> ParseElement(unsigned char const* data, std::size_t size) noexcept {
    std::size_t const idLen = IdentifierLength(data, size);
    if (idLen == 0 || idLen >= size) {
        return std::nullopt;
    }
    unsigned char const first = data[idLen];
    std::size_t const rest = size - idLen - 1;
    std::size_t lengthOctets = 1;
    std::size_t valueLength = 0;
    if (first < 0x80) {
        valueLength = first;
    } else if (first == 0x81 && rest >= 1) {
        lengthOctets = 2;
        valueLength = data[idLen + 1];
    } else if (first == 0x82 && rest >= 2) {
        lengthOctets = 3;
        valueLength = (std::size_t{data[idLen + 1]} << 8) | data[idLen + 2];
    } else {
        // Indefinite length, lengths of three or more octets, or missing length octets.
        return std::nullopt;
    }
    if (rest - (lengthOctets - 1) < valueLength) {
        return std::nullopt;
    }
    return ElementHeader{idLen, lengthOctets, valueLength};
}

std::size_t NextElementLength(std::basic_string<unsigned char> const& bytes,
                              std::size_t pos) noexcept {
    // Fewer than two bytes cannot hold an element, and a 00 byte starts the zero padding
    // after the last one.
    if (pos >= bytes.size() || bytes.size() - pos < 2 || bytes[pos] == 0x00) {
        return 0;
    }
    auto const header = ParseElement(bytes.data() + pos, bytes.size() - pos);
    return header ? header->Total() : 0;
}

}  // namespace der::detail
