#include "der/der_integer.hpp"

#include <climits>
#include <cstdint>

#include "implicit_tag.hpp"

using der::detail::IsCompleteWithTag;

namespace {

using Bytes = std::basic_string<unsigned char>;

constexpr unsigned long IntegerTag = 0x02;

}  // namespace

Bytes IntEncodeValue(int value) {
    auto const bits = static_cast<std::uint32_t>(value);
    Bytes octets;
    for (int shift = 24; shift >= 0; shift -= 8) {
        octets.push_back(static_cast<unsigned char>(bits >> shift));
    }
    // A leading octet may go while the next one carries the same sign.
    std::size_t start = 0;
    while (start + 1 < octets.size() && ((octets[start] == 0x00 && octets[start + 1] < 0x80) ||
                                         (octets[start] == 0xFF && octets[start + 1] >= 0x80))) {
        ++start;
    }
    return octets.substr(start);
}

CDerString IntEncode(int value) {
    return CDerString(IntegerTag, IntEncodeValue(value));
}

Bytes IntEncodeAbsoluteValue(Bytes const& magnitude) {
    if (magnitude.empty()) {
        return Bytes(1, 0x00);
    }
    if (magnitude[0] < 0x80) {
        return magnitude;
    }
    return Bytes(1, 0x00) + magnitude;
}

int IntDecodeValue(Bytes const& value, int defaultValue) {
    if (value.empty() || value.size() > 4) {
        return defaultValue;
    }
    std::uint32_t bits = (value[0] & 0x80) != 0 ? UINT32_MAX : 0;
    for (unsigned char const octet : value) {
        bits = (bits << 8) | octet;
    }
    if (bits <= static_cast<std::uint32_t>(INT_MAX)) {
        return static_cast<int>(bits);
    }
    return -static_cast<int>(~bits) - 1;
}

int IntDecode(CDerString const& der, int defaultValue) {
    if (!IsCompleteWithTag(der, IntegerTag)) {
        return defaultValue;
    }
    return IntDecodeValue(der.Val(), defaultValue);
}

bool IntDecodeOK(CDerString const& der) {
    return IsCompleteWithTag(der, IntegerTag) && der.Len() <= 4;
}

unsigned int UnsignedDecodeValue(Bytes const& value, unsigned int defaultValue) {
    bool const fits = (!value.empty() && value.size() <= 4) || (value.size() == 5 && value[0] == 0);
    if (!fits) {
        return defaultValue;
    }
    std::uint64_t number = 0;
    for (unsigned char const octet : value) {
        number = (number << 8) | octet;
    }
    return static_cast<unsigned int>(number);
}

unsigned int UnsignedDecode(CDerString const& der, unsigned int defaultValue) {
    if (!IsCompleteWithTag(der, IntegerTag)) {
        return defaultValue;
    }
    return UnsignedDecodeValue(der.Val(), defaultValue);
}

Bytes UnsignedDecodeValue(Bytes const& value) {
    if (value.size() >= 2 && value[0] == 0x00 && value[1] >= 0x80) {
        return value.substr(1);
    }
    return value;
}

Bytes UnsignedDecode(CDerString const& der) {
    if (der.RawTag() != IntegerTag) {
        return {};
    }
    return UnsignedDecodeValue(der.Val());
}
