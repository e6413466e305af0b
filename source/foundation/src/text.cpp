#include "velk/text.hpp"

#include <locale>

namespace velk {

namespace {

// Splits at every position where findNext finds a separator of separatorLength characters.
template <class FindNext>
void split(std::string const& s, std::size_t separatorLength, FindNext findNext,
           std::vector<std::string>& out) {
    out.clear();
    std::size_t start = 0;
    for (std::size_t pos = findNext(start); pos != std::string::npos; pos = findNext(start)) {
        out.emplace_back(s, start, pos - start);
        start = pos + separatorLength;
    }
    out.emplace_back(s, start);
}

}  // namespace

void explode(std::string const& s, std::string const& delimiter, std::vector<std::string>& out) {
    if (delimiter.empty()) {
        out.assign(1, s);
        return;
    }
    split(
        s, delimiter.size(), [&](std::size_t from) { return s.find(delimiter, from); }, out);
}

std::vector<std::string> explode(std::string const& s, std::string const& delimiter) {
    std::vector<std::string> out;
    explode(s, delimiter, out);
    return out;
}

void explodeAny(std::string const& s, std::string const& characters,
                std::vector<std::string>& out) {
    split(
        s, 1, [&](std::size_t from) { return s.find_first_of(characters, from); }, out);
}

std::vector<std::string> explodeAny(std::string const& s, std::string const& characters) {
    std::vector<std::string> out;
    explodeAny(s, characters, out);
    return out;
}

std::string join(std::vector<std::string> const& parts, std::string const& separator) {
    return join(parts.begin(), parts.end(), separator);
}

std::string rtrim(std::string const& s, std::string const& characters) {
    std::size_t const last = s.find_last_not_of(characters);
    return last == std::string::npos ? std::string() : s.substr(0, last + 1);
}

std::string stringToUpper(std::string s) {
    auto const& ctype = std::use_facet<std::ctype<char>>(std::locale());
    ctype.toupper(s.data(), s.data() + s.size());
    return s;
}

}  // namespace velk
