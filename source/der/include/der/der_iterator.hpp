#pragma once

#include <string>

#include "der/der_string.hpp"

// Walks a run of DER elements laid one after another (a card file, or the value of a
// constructed element) and picks nested elements out of it with slice paths such as
// "!SEQ{!SEQ{?UT8". The walk stops at fewer than two bytes left, at a 00 byte (padding) and at
// anything that is not a complete element. Nothing throws: a path that does not fit the data
// gives an empty result and ok == false.
//
// Path language, read left to right against a current buffer (at first the whole buffer):
//   !XXX  required item: the next element must have type XXX
//   ?XXX  optional item: when the next element is not XXX, it is tried against the next item
//   {     the current buffer becomes the value of its first element
//   0-F   the current buffer becomes its element with that (hexadecimal) number
// Items written back to back form a run, matched against successive elements; after a run the
// current buffer is the last element matched. XXX is a universal code (BOO INT BIT OCT NUL OID
// ENU UT8 NUM PRI T61 IA5 UTC GTM SEQ SET), ANY, or class (A/C/P) + form (P/C) + digit.
class CDerIterator {
public:
    using Bytes = std::basic_string<unsigned char>;

    explicit CDerIterator(Bytes const& bytes);
    CDerIterator& operator=(Bytes const& bytes);

    CDerString GetDer(unsigned long i) const;
    // The element at `pos`, advancing `pos` past it; empty with `pos` unchanged where the walk
    // stops.
    CDerString GetNextDer(unsigned long& pos) const;
    unsigned long NumDers() const noexcept;

    Bytes Slice(char const* path) const;
    Bytes Slice(char const* path, bool& ok) const;
    Bytes Slice(std::string const& path) const;
    Bytes Slice(std::string const& path, bool& ok) const;

    // Slice of the path with "{" appended: the value octets of the selected element.
    Bytes SliceValue(char const* path) const;
    Bytes SliceValue(std::string const& path) const;
    Bytes SliceValue(Bytes const& path) const;
    Bytes SliceValue(char const* path, bool& ok) const;
    Bytes SliceValue(std::string const& path, bool& ok) const;

private:
    Bytes bytes_;
};
