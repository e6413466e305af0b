#include "der/der_oid.hpp"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <utility>
#include <vector>

namespace {

using Bytes = std::basic_string<unsigned char>;
using Arc = unsigned long long;

// Fewest base-128 octets, most significant group first, bit 8 set on all but the last.
void AppendSubidentifier(Bytes& out, Arc value) {
    unsigned char groups[(sizeof(Arc) * CHAR_BIT + 6) / 7];
    std::size_t n = 0;
    do {
        groups[n++] = static_cast<unsigned char>(value & 0x7F);
        value >>= 7;
    } while (value != 0);
    while (n > 1) {
        out.push_back(static_cast<unsigned char>(groups[--n] | 0x80));
    }
    out.push_back(groups[0]);
}

bool ParseArcs(char const* text, std::vector<Arc>& arcs) {
    char const* p = text;
    while (*p != '\0') {
        // strtoull alone would let blanks, signs and wrapped negative numbers through.
        if (*p < '0' || *p > '9') {
            return false;
        }
        char* end = nullptr;
        errno = 0;
        Arc const arc = std::strtoull(p, &end, 10);
        if (errno == ERANGE) {
            return false;
        }
        arcs.push_back(arc);
        p = end;
        if (*p == '.') {
            ++p;
        } else if (*p != '\0') {
            return false;
        }
    }
    return true;
}

}  // namespace

bool StringToOid(char const* text, Bytes& oid) {
    std::vector<Arc> arcs;
    if (text == nullptr || *text == '\0' || !ParseArcs(text, arcs) || arcs.size() < 2) {
        return false;
    }
    Arc const first = arcs[0];
    Arc const second = arcs[1];
    // Below 2 the second arc must stay under 40, or the shared subidentifier would read back
    // as another first arc; under 2 it is unbounded.
    if (first > 2 || (first < 2 && second > 39) || second > ULLONG_MAX - 80) {
        return false;
    }
    Bytes encoded;
    AppendSubidentifier(encoded, first * 40 + second);
    for (std::size_t i = 2; i < arcs.size(); ++i) {
        AppendSubidentifier(encoded, arcs[i]);
    }
    oid = std::move(encoded);
    return true;
}

bool OidToString(Bytes const& oid, std::string& text) {
    std::string result;
    bool first = true;
    Arc arc = 0;
    for (unsigned char const octet : oid) {
        if (arc > (ULLONG_MAX >> 7)) {
            return false;
        }
        arc = (arc << 7) | (octet & 0x7FU);
        if ((octet & 0x80) != 0) {
            continue;
        }
        if (first) {
            Arc const top = arc < 80 ? arc / 40 : 2;
            result = std::to_string(top) + '.' + std::to_string(arc - top * 40);
            first = false;
        } else {
            result += '.' + std::to_string(arc);
        }
        arc = 0;
    }
    if (first) {
        return false;
    }
    text = std::move(result);
    return true;
}
