#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "testsupport/cardsim/byte_vector.hpp"

namespace testsupport::cardsim::detail {

namespace der_tag {
constexpr std::uint8_t Boolean = 0x01;
constexpr std::uint8_t Integer = 0x02;
constexpr std::uint8_t BitString = 0x03;
constexpr std::uint8_t OctetString = 0x04;
constexpr std::uint8_t Utf8String = 0x0C;
constexpr std::uint8_t Sequence = 0x30;
constexpr std::uint8_t ContextPrimitive0 = 0x80;
constexpr std::uint8_t ContextConstructed1 = 0xA1;
}  // namespace der_tag

// One element with a definite length: the tag, the length, the value.
ByteVector derElement(std::uint8_t tag, ByteVector const& value);
// One element whose value is the parts one after another.
ByteVector derElement(std::uint8_t tag, std::initializer_list<ByteVector> parts);
ByteVector derText(std::uint8_t tag, std::string const& text);
// A BIT STRING whose first bit is bit 7 of its first octet.
ByteVector derBitString(std::vector<bool> const& bits);

}  // namespace testsupport::cardsim::detail
