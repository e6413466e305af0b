#include "der/der_bit_string.hpp"

namespace {

using Bytes = std::basic_string<unsigned char>;

constexpr unsigned long BitStringTag = 0x03;

unsigned char FlagMask(int index) {
    return static_cast<unsigned char>(0x80U >> (index % 8));
}

// The low five bits of the unused-bit octet give the shift; done in 32 unsigned bits so that
// even a count of 31 stays defined.
unsigned int UsedBitsMask(unsigned int width, unsigned char unusedBits) {
    return (width << (unusedBits & 31U)) & width;
}

}  // namespace

Bytes BitStringEncodeValue(int count, unsigned char const* flags) {
    int last = -1;
    for (int i = count - 1; flags != nullptr && i >= 0; --i) {
        if (flags[i] != 0) {
            last = i;
            break;
        }
    }
    if (last < 0) {
        return Bytes(1, 0x00);
    }
    Bytes value(static_cast<std::size_t>(last / 8) + 2, 0x00);
    value[0] = static_cast<unsigned char>(7 - last % 8);
    for (int i = 0; i <= last; ++i) {
        if (flags[i] != 0) {
            value[static_cast<std::size_t>(i / 8) + 1] |= FlagMask(i);
        }
    }
    return value;
}

void BitStringDecodeValue(Bytes const& value, int count, unsigned char* flags) {
    if (count < 1 || flags == nullptr) {
        return;
    }
    // Content from the card may be empty or claim more unused bits than it has: then no bit
    // is significant.
    long significant = 0;
    if (!value.empty()) {
        significant = static_cast<long>(value.size() - 1) * 8 - value[0];
    }
    for (int i = 0; i < count; ++i) {
        bool const set =
            i < significant && (value[static_cast<std::size_t>(i / 8) + 1] & FlagMask(i)) != 0;
        flags[i] = set ? 1 : 0;
    }
}

unsigned char BitStringToChar(CDerString const& der, unsigned char defaultValue) {
    if (der.RawTag() != BitStringTag || der.Len() != 2) {
        return defaultValue;
    }
    Bytes const value = der.Val();
    return static_cast<unsigned char>(value[1] & UsedBitsMask(0xFFU, value[0]));
}

unsigned short BitStringToShort(CDerString const& der, unsigned short defaultValue) {
    if (der.RawTag() != BitStringTag) {
        return defaultValue;
    }
    Bytes const value = der.Val();
    unsigned int bits = 0;
    if (value.size() == 2) {
        bits = (value[1] & UsedBitsMask(0xFFU, value[0])) << 8;
    } else if (value.size() == 3) {
        bits = ((unsigned{value[1]} << 8) | value[2]) & UsedBitsMask(0xFFFFU, value[0]);
    } else {
        return defaultValue;
    }
    return static_cast<unsigned short>(bits);
}
