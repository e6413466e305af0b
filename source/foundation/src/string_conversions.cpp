#include "velk/string_conversions.hpp"

#include "velk/stream_fmt_restore.hpp"

namespace velk {
namespace {

// Element by element into a string reserved to the final length, so the result ends with
// capacity = length and no intermediate buffer is left behind.
template <typename To, typename From, typename Convert>
To convertEach(From const& from, Convert convert) {
    To to;
    to.reserve(from.size());
    for (auto const element : from) {
        to.push_back(convert(element));
    }
    return to;
}

unsigned char toByte(char c) {
    return static_cast<unsigned char>(c);
}
char toChar(unsigned char b) {
    return static_cast<char>(b);
}
char octetToChar(Octet o) {
    return static_cast<char>(toNumber(o));
}
Octet charToOctet(char c) {
    return toOctet(static_cast<unsigned char>(c));
}

}  // namespace

basic_allocated_string<unsigned char> ToUnsignedString(basic_allocated_string<char> const& s) {
    return convertEach<basic_allocated_string<unsigned char>>(s, toByte);
}

basic_allocated_string<char> FromUnsignedString(basic_allocated_string<unsigned char> const& s) {
    return convertEach<basic_allocated_string<char>>(s, toChar);
}

basic_allocated_string<Octet> toOctetString(basic_allocated_string<unsigned char> const& s) {
    return convertEach<basic_allocated_string<Octet>>(s, toOctet);
}

basic_allocated_string<char> toString(basic_allocated_string<Octet> const& s) {
    return convertEach<basic_allocated_string<char>>(s, octetToChar);
}

std::basic_string<unsigned char> ToUnsignedString(std::string const& s) {
    return convertEach<std::basic_string<unsigned char>>(s, toByte);
}

std::string FromUnsignedString(std::basic_string<unsigned char> const& s) {
    return convertEach<std::string>(s, toChar);
}

std::basic_string<Octet> toOctetString(std::basic_string<unsigned char> const& s) {
    return convertEach<std::basic_string<Octet>>(s, toOctet);
}

std::basic_string<Octet> toOctetString(std::string const& s) {
    return convertEach<std::basic_string<Octet>>(s, charToOctet);
}

std::basic_string<unsigned char> toUnsignedString(std::basic_string<Octet> const& s) {
    return convertEach<std::basic_string<unsigned char>>(s, toNumber);
}

std::string toString(std::basic_string<Octet> const& s) {
    return convertEach<std::string>(s, octetToChar);
}

std::ostream& operator<<(std::ostream& os, std::basic_string<unsigned char> const& bytes) {
    StreamFmtRestore const restore(os);
    // Set everything that shapes the output: the caller's showbase, uppercase, left or a pending
    // width would otherwise leak into the dump.
    os.flags(std::ios_base::hex | std::ios_base::right);
    os.fill('0');
    os.width(0);
    char const* separator = "";
    for (unsigned char const b : bytes) {
        os << separator;
        os.width(2);
        os << static_cast<unsigned int>(b);
        separator = " ";
    }
    return os;
}

}  // namespace velk

velk::basic_allocated_string<char> operator""_erased(char const* text, std::size_t n) {
    return velk::basic_allocated_string<char>(text, n);
}

std::basic_string<unsigned char> operator""_ustr(char const* text, std::size_t n) {
    return std::basic_string<unsigned char>(reinterpret_cast<unsigned char const*>(text), n);
}

std::basic_string<velk::Octet> velk::literals::operator""_octstr(char const* text, std::size_t n) {
    return velk::toOctetString(std::string(text, n));
}
