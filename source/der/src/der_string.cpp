#include "der/der_string.hpp"

#include <climits>
#include <cstdint>
#include <utility>

#include "der/der_iterator.hpp"
#include "element_header.hpp"
#include "velk/exceptions.hpp"

using der::detail::IdentifierLength;
using der::detail::ParseElement;

namespace {

constexpr std::size_t MaxValueLength = 0xFFFF;

void AppendIdentifier(CDerString::Bytes& out, unsigned long tag) {
    auto const identifier = static_cast<std::uint32_t>(tag & 0xFFFFFFFFUL);
    int octets = 1;
    while (octets < 4 && (identifier >> (8 * octets)) != 0) {
        ++octets;
    }
    for (int i = octets - 1; i >= 0; --i) {
        out.push_back(static_cast<unsigned char>(identifier >> (8 * i)));
    }
}

void AppendLength(CDerString::Bytes& out, std::size_t length) {
    // A longer value would need a length form that no reader of this codec accepts.
    if (length > MaxValueLength) {
        throw velk::InputError("DER value longer than 65535 octets");
    }
    if (length >= 0x100) {
        out.push_back(0x82);
        out.push_back(static_cast<unsigned char>(length >> 8));
    } else if (length >= 0x80) {
        out.push_back(0x81);
    }
    out.push_back(static_cast<unsigned char>(length));
}

}  // namespace

CDerString::CDerString(unsigned long tag, Bytes const& value) {
    AppendIdentifier(bytes_, tag);
    AppendLength(bytes_, value.size());
    bytes_.append(value);
}

CDerString::CDerString(Bytes bytes) noexcept : bytes_(std::move(bytes)) {}

CDerString::Bytes CDerString::CopyOf(unsigned char const* data, unsigned long size) {
    return data == nullptr ? Bytes() : Bytes(data, size);
}

unsigned long CDerString::RawTag() const noexcept {
    std::size_t const idLen = IdentifierLength(bytes_.data(), bytes_.size());
    // An identifier wider than the result would come out cut, so it reads as no identifier.
    if (idLen == 0 || idLen > sizeof(unsigned long)) {
        return 0;
    }
    unsigned long raw = 0;
    for (std::size_t i = 0; i < idLen; ++i) {
        raw = (raw << 8) | bytes_[i];
    }
    return raw;
}

unsigned long CDerString::Tag() const noexcept {
    std::size_t const idLen = IdentifierLength(bytes_.data(), bytes_.size());
    if (idLen == 0) {
        return 0;
    }
    if (idLen == 1) {
        return bytes_[0] & 0x1FU;
    }
    unsigned long number = 0;
    for (std::size_t i = 1; i < idLen; ++i) {
        if (number > (ULONG_MAX >> 7)) {
            return 0;
        }
        number = (number << 7) | (bytes_[i] & 0x7FU);
    }
    return number;
}

unsigned long CDerString::Len() const noexcept {
    auto const header = ParseElement(bytes_.data(), bytes_.size());
    return header ? header->valueLength : 0;
}

unsigned long CDerString::DerLen() const noexcept {
    auto const header = ParseElement(bytes_.data(), bytes_.size());
    return header ? header->Total() : 0;
}

CDerString::Bytes CDerString::Val() const {
    auto const header = ParseElement(bytes_.data(), bytes_.size());
    if (!header) {
        return {};
    }
    return bytes_.substr(header->ValueOffset(), header->valueLength);
}

CDerString::Bytes CDerString::SubStr(unsigned long pos, unsigned long n) const {
    if (pos >= bytes_.size()) {
        return {};
    }
    return bytes_.substr(pos, n);
}

bool CDerString::IsValComplete() const {
    return Len() == Val().size();
}

bool CDerString::IsValConsistent() const noexcept {
    unsigned long const total = DerLen();
    return total != 0 && total == bytes_.size();
}

CDerIterator CDerString::ValIterator() const {
    return CDerIterator(Val());
}

CDerString& CDerString::TagOverride(unsigned char cls, unsigned char number) noexcept {
    if (!bytes_.empty()) {
        bytes_[0] = static_cast<unsigned char>((cls & 0xC0) | (bytes_[0] & 0x20) | (number & 0x1F));
    }
    return *this;
}
