#pragma once

#include <string>
#include <type_traits>

class CDerIterator;

// One DER element (identifier, length, value) held as its encoded bytes. The bytes may run on
// past the element; every reader looks only at the element at the first byte. Readers never
// throw: malformed or incomplete bytes give 0, an empty string or false. Lengths are read in
// the forms 00-7F, 81 xx and 82 xx xx only, so the longest value is 65,535 octets.
class CDerString {
public:
    using Bytes = std::basic_string<unsigned char>;

    // Encodes a new element. `tag` is the identifier octets written as a number (0x30, 0xA0,
    // 0x5F20); throws velk::InputError for a value longer than the readers can describe.
    CDerString(unsigned long tag, Bytes const& value);
    // Copies `size` bytes as they are; null `data` gives an empty element. Only pointers bind
    // here, so that CDerString(0, {}) encodes tag 0 rather than copying nothing from address 0.
    template <typename Pointer,
              typename = std::enable_if_t<std::is_convertible_v<Pointer, unsigned char const*>>>
    CDerString(Pointer data, unsigned long size) : CDerString(CopyOf(data, size)) {}

    // Implicit both ways, so that slices go straight into the decoders and elements straight
    // into code that takes encoded bytes.
    CDerString(Bytes bytes) noexcept;
    operator Bytes const&() const noexcept { return bytes_; }

    unsigned long RawTag() const noexcept;
    unsigned long Tag() const noexcept;
    unsigned long Len() const noexcept;
    unsigned long DerLen() const noexcept;
    Bytes Val() const;
    Bytes SubStr(unsigned long pos, unsigned long n) const;
    bool IsValComplete() const;
    bool IsValConsistent() const noexcept;
    CDerIterator ValIterator() const;

    // Replaces class and tag number of the first identifier octet; the constructed bit stays.
    CDerString& TagOverride(unsigned char cls, unsigned char number) noexcept;

private:
    static Bytes CopyOf(unsigned char const* data, unsigned long size);

    Bytes bytes_;
};
