#include "der_writer.hpp"

namespace testsupport::cardsim::detail {

ByteVector derElement(std::uint8_t tag, ByteVector const& value) {
    ByteVector out{tag};
    std::size_t const n = value.size();
    if (n < 0x80) {
        out.push_back(static_cast<std::uint8_t>(n));
    } else {
        ByteVector length;
        for (std::size_t rest = n; rest != 0; rest >>= 8) {
            length.insert(length.begin(), static_cast<std::uint8_t>(rest & 0xFF));
        }
        out.push_back(static_cast<std::uint8_t>(0x80 | length.size()));
        out.insert(out.end(), length.begin(), length.end());
    }
    out.insert(out.end(), value.begin(), value.end());
    return out;
}

ByteVector derElement(std::uint8_t tag, std::initializer_list<ByteVector> parts) {
    ByteVector value;
    for (ByteVector const& part : parts) {
        value.insert(value.end(), part.begin(), part.end());
    }
    return derElement(tag, value);
}

ByteVector derText(std::uint8_t tag, std::string const& text) {
    return derElement(tag, ByteVector(text.begin(), text.end()));
}

ByteVector derBitString(std::vector<bool> const& bits) {
    ByteVector value{static_cast<std::uint8_t>((8 - bits.size() % 8) % 8)};
    for (std::size_t i = 0; i < bits.size(); ++i) {
        if (i % 8 == 0) {
            value.push_back(0);
        }
        if (bits[i]) {
            value.back() |= static_cast<std::uint8_t>(0x80 >> (i % 8));
        }
    }
    return derElement(der_tag::BitString, value);
}

}  // namespace testsupport::cardsim::detail
