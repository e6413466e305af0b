#include "der/der_boolean.hpp"

#include "implicit_tag.hpp"

using der::detail::IsCompleteWithTag;

namespace {
constexpr unsigned long BooleanTag = 0x01;
}

std::basic_string<unsigned char> BoolEncodeValue(bool value) {
    return std::basic_string<unsigned char>(1, value ? 0xFF : 0x00);
}

CDerString BoolEncode(bool value) {
    return CDerString(BooleanTag, BoolEncodeValue(value));
}

bool BoolDecodeValue(std::basic_string<unsigned char> const& value, bool) {
    return !value.empty() && value[0] != 0x00;
}

bool BoolDecode(CDerString const& der, bool defaultValue) {
    if (!IsCompleteWithTag(der, BooleanTag)) {
        return defaultValue;
    }
    return BoolDecodeValue(der.Val(), defaultValue);
}

bool BoolDecodeOK(CDerString const& der) {
    return IsCompleteWithTag(der, BooleanTag) && der.Len() == 1;
}
