#include "velk/utf8.hpp"

#include <cstdint>

namespace velk {

namespace {

static_assert(sizeof(wchar_t) == 4, "wchar_t must hold one code point");

bool isScalarValue(std::uint32_t c) {
    return c < 0xD800 || (c > 0xDFFF && c < 0x110000);
}

struct SequenceStart {
    int continuationBytes;
    std::uint32_t bits;
    // The range of the first continuation byte, which rules out overlong forms, surrogates and
    // values above 10FFFF.
    unsigned char low;
    unsigned char high;
};

// False for bytes that cannot start a sequence.
bool sequenceStart(unsigned char lead, SequenceStart& start) {
    if (lead >= 0xC2 && lead <= 0xDF) {
        start = {1, lead & 0x1Fu, 0x80, 0xBF};
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        start = {2, lead & 0x0Fu, static_cast<unsigned char>(lead == 0xE0 ? 0xA0 : 0x80),
                 static_cast<unsigned char>(lead == 0xED ? 0x9F : 0xBF)};
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        start = {3, lead & 0x07u, static_cast<unsigned char>(lead == 0xF0 ? 0x90 : 0x80),
                 static_cast<unsigned char>(lead == 0xF4 ? 0x8F : 0xBF)};
    } else {
        return false;
    }
    return true;
}

}  // namespace

std::string wstringToUtf8(std::wstring const& text) {
    std::string out;
    out.reserve(text.size());
    for (wchar_t element : text) {
        auto const c = static_cast<std::uint32_t>(element);
        if (!isScalarValue(c)) {
            continue;
        }
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

std::wstring utf8ToWstring(std::string const& text) {
    std::wstring out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        auto const lead = static_cast<unsigned char>(text[i++]);
        if (lead < 0x80) {
            out.push_back(static_cast<wchar_t>(lead));
            continue;
        }
        SequenceStart start{};
        if (!sequenceStart(lead, start)) {
            continue;
        }
        std::uint32_t c = start.bits;
        unsigned char low = start.low;
        unsigned char high = start.high;
        int remaining = start.continuationBytes;
        while (remaining > 0 && i < text.size()) {
            auto const next = static_cast<unsigned char>(text[i]);
            if (next < low || next > high) {
                break;
            }
            c = (c << 6) | (next & 0x3Fu);
            ++i;
            --remaining;
            low = 0x80;
            high = 0xBF;
        }
        if (remaining == 0) {
            out.push_back(static_cast<wchar_t>(c));
        }
    }
    return out;
}

}  // namespace velk
