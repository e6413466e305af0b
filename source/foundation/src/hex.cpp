#include "velk/hex.hpp"

#include <algorithm>
#include <string_view>

#include "velk/string_conversions.hpp"

namespace velk {

namespace {

constexpr std::string_view HexDigits = "0123456789abcdefABCDEF";

// Compares the char itself rather than classifying it, so bytes above 127 are simply not digits.
bool isHexDigit(char c) {
    return HexDigits.find(c) != std::string_view::npos;
}

}  // namespace

unsigned char hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return static_cast<unsigned char>(c - '0');
    }
    if (c >= 'a' && c <= 'f') {
        return static_cast<unsigned char>(c - 'a' + 10);
    }
    if (c >= 'A' && c <= 'F') {
        return static_cast<unsigned char>(c - 'A' + 10);
    }
    return 0;
}

std::basic_string<unsigned char> HexToString(std::string const& hex) {
    std::basic_string<unsigned char> out;
    out.reserve(hex.size() / 2);
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        // hex[size()] is the terminating '\0', which reads as 0.
        out.push_back(static_cast<unsigned char>(hexValue(hex[i]) * 16 + hexValue(hex[i + 1])));
    }
    return out;
}

boost::optional<std::basic_string<Octet>> hexToOctetString(std::string const& hex) {
    if (!IsHexString(hex)) {
        return boost::none;
    }
    return toOctetString(HexToString(hex));
}

std::string HexRepresentation(std::basic_string<unsigned char> const& bytes) {
    static constexpr char Digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (unsigned char byte : bytes) {
        out.push_back(Digits[byte >> 4]);
        out.push_back(Digits[byte & 0x0F]);
    }
    return out;
}

bool IsHexString(std::string const& text) {
    return text.size() % 2 == 0 && std::all_of(text.begin(), text.end(), isHexDigit);
}

void SanitizeHexString(std::string& text) {
    text.erase(std::remove_if(text.begin(), text.end(), [](char c) { return !isHexDigit(c); }),
               text.end());
    if (text.size() % 2 != 0) {
        text.pop_back();
    }
}

namespace literals {

std::basic_string<Octet> operator""_binoctstr(char const* hex, std::size_t n) {
    return toOctetString(HexToString(std::string(hex, n)));
}

}  // namespace literals
}  // namespace velk

std::basic_string<unsigned char> operator""_binstr(char const* hex, std::size_t n) {
    return velk::HexToString(std::string(hex, n));
}
