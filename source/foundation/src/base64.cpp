#include "velk/base64.hpp"

#include <cstdint>
#include <string_view>

#include "velk/exceptions.hpp"

namespace velk {

namespace {

constexpr std::string_view Alphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr char Pad = '=';

std::uint32_t sextet(char c) {
    // A pad before the last data character reads as 0, like 'A'.
    if (c == Pad) {
        return 0;
    }
    std::size_t const value = Alphabet.find(c);
    if (value == std::string_view::npos) {
        throw CodingError("Incorrect base64 string");
    }
    return static_cast<std::uint32_t>(value);
}

}  // namespace

std::string base64Encode(std::basic_string<unsigned char> const& data) {
    std::string out;
    out.reserve((data.size() + 2) / 3 * 4);
    std::uint32_t bits = 0;
    int bitCount = 0;
    for (unsigned char byte : data) {
        bits = (bits << 8) | byte;
        bitCount += 8;
        while (bitCount >= 6) {
            bitCount -= 6;
            out.push_back(Alphabet[(bits >> bitCount) & 0x3F]);
        }
    }
    if (bitCount > 0) {
        out.push_back(Alphabet[(bits << (6 - bitCount)) & 0x3F]);
    }
    out.append((4 - out.size() % 4) % 4, Pad);
    return out;
}

std::basic_string<unsigned char> base64Decode(std::string const& text) {
    if (text.size() % 4 != 0) {
        throw CodingError("base64 string not a multiple of 4 in length");
    }
    std::size_t const last = text.find_last_not_of(Pad);
    std::size_t const k = last == std::string::npos ? 0 : last + 1;
    if (k == 0 || k % 4 == 1) {
        throw CodingError("Incorrect base64 string");
    }
    std::basic_string<unsigned char> out;
    out.reserve(k * 6 / 8);
    std::uint32_t bits = 0;
    int bitCount = 0;
    for (std::size_t i = 0; i < k; ++i) {
        bits = (bits << 6) | sextet(text[i]);
        bitCount += 6;
        if (bitCount >= 8) {
            bitCount -= 8;
            out.push_back(static_cast<unsigned char>(bits >> bitCount));
        }
    }
    return out;
}

}  // namespace velk
