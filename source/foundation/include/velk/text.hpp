#pragma once

#include <iterator>
#include <string>
#include <vector>

namespace velk {

// The pieces of s between occurrences of the whole delimiter, left to right. Empty pieces stay,
// so there is always one piece more than there are delimiters. An empty delimiter splits nothing.
std::vector<std::string> explode(std::string const& s, std::string const& delimiter);
void explode(std::string const& s, std::string const& delimiter, std::vector<std::string>& out);

// As explode, but each single character of characters separates.
std::vector<std::string> explodeAny(std::string const& s, std::string const& characters);
void explodeAny(std::string const& s, std::string const& characters, std::vector<std::string>& out);

template <class Iterator>
std::string join(Iterator first, Iterator last, std::string const& separator) {
    std::string out;
    for (Iterator it = first; it != last; ++it) {
        if (it != first) {
            out += separator;
        }
        out += *it;
    }
    return out;
}

std::string join(std::vector<std::string> const& parts, std::string const& separator);

// s without its trailing run of characters that occur in characters.
std::string rtrim(std::string const& s, std::string const& characters);

// Upper-cased with the ctype facet of the global locale.
std::string stringToUpper(std::string s);

}  // namespace velk
