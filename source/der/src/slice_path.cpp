#include "slice_path.hpp"

#include <optional>
#include <utility>

#include "der/der_iterator.hpp"
#include "der/der_string.hpp"
#include "element_header.hpp"

namespace der::detail {

namespace {

using Bytes = std::basic_string<unsigned char>;

enum class Match { Yes, No, BadCode };

struct UniversalCode {
    std::string_view code;
    unsigned char identifier;
};

constexpr UniversalCode UniversalCodes[] = {
    {"BOO", 0x01}, {"INT", 0x02}, {"BIT", 0x03}, {"OCT", 0x04}, {"NUL", 0x05}, {"OID", 0x06},
    {"ENU", 0x0A}, {"UT8", 0x0C}, {"NUM", 0x12}, {"PRI", 0x13}, {"T61", 0x14}, {"IA5", 0x16},
    {"UTC", 0x17}, {"GTM", 0x18}, {"SEQ", 0x30}, {"SET", 0x31},
};

// Only the first identifier octet takes part, also for multi-octet identifiers.
Match MatchTypeCode(std::string_view code, unsigned char identifier) {
    for (auto const& universal : UniversalCodes) {
        if (code == universal.code) {
            return identifier == universal.identifier ? Match::Yes : Match::No;
        }
    }
    if (code == "ANY") {
        return Match::Yes;
    }
    unsigned char expected = 0;
    switch (code[0]) {
        case 'A':
            expected = 0x40;
            break;
        case 'C':
            expected = 0x80;
            break;
        case 'P':
            expected = 0xC0;
            break;
        default:
            return Match::BadCode;
    }
    switch (code[1]) {
        case 'P':
            break;
        case 'C':
            expected |= 0x20;
            break;
        default:
            return Match::BadCode;
    }
    if (code[2] < '0' || code[2] > '9') {
        return Match::BadCode;
    }
    expected |= static_cast<unsigned char>(code[2] - '0');
    return identifier == expected ? Match::Yes : Match::No;
}

bool IsItemStart(std::string_view path, std::size_t p) {
    return p < path.size() && (path[p] == '!' || path[p] == '?');
}

int IndexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Matches the run of items that starts at `p` against the successive elements of `current`.
// On success `p` is past the run and the result is the last element matched.
std::optional<Bytes> EvaluateRun(Bytes const& current, std::string_view path, std::size_t& p) {
    std::size_t pos = 0;
    for (;;) {
        std::size_t const length = NextElementLength(current, pos);
        if (length == 0) {
            return std::nullopt;
        }
        // A mismatching optional item hands the same element on to the item after it.
        for (;;) {
            if (path.size() - p < 4) {
                return std::nullopt;
            }
            Match const match = MatchTypeCode(path.substr(p + 1, 3), current[pos]);
            bool const required = path[p] == '!';
            std::size_t const next = p + 4;
            if (match == Match::BadCode) {
                return std::nullopt;
            }
            if (match == Match::Yes) {
                p = next;
                if (!IsItemStart(path, next)) {
                    return current.substr(pos, length);
                }
                break;
            }
            if (required || !IsItemStart(path, next)) {
                return std::nullopt;
            }
            p = next;
        }
        pos += length;
    }
}

}  // namespace

Bytes EvaluateSlicePath(Bytes const& buffer, std::string_view path, bool& ok) {
    ok = false;
    Bytes current = buffer;
    std::size_t p = 0;
    while (p < path.size()) {
        char const c = path[p];
        if (c == '!' || c == '?') {
            auto matched = EvaluateRun(current, path, p);
            if (!matched) {
                return {};
            }
            current = std::move(*matched);
            continue;
        }
        if (c == '{') {
            current = CDerString(std::move(current)).Val();
        } else if (int const index = IndexValue(c); index >= 0) {
            current = CDerIterator(current).GetDer(static_cast<unsigned long>(index));
        } else {
            return {};
        }
        ++p;
    }
    ok = true;
    return current;
}

}  // namespace der::detail
