#pragma once

#include <string>
#include <utility>
#include <vector>

#include "der/der_iterator.hpp"

namespace pavlenenabler::enabler::pkcs15::codec {

// A PKCS#15 directory file: its entries in file order, each decoded as a T. Every top-level
// element becomes an entry; the walk ends at 00 or FF padding, at a lone last byte and at
// malformed or truncated data, so garbage after the real entries is dropped, never read past.
template <class T>
class Directory {
public:
    using Bytes = std::basic_string<unsigned char>;

    explicit Directory(Bytes const& file) {
        CDerIterator const elements(file);
        // GetDer walks from the start each time; directories hold a handful of entries.
        unsigned long const count = elements.NumDers();
        entries_.reserve(count);
        for (unsigned long i = 0; i < count; ++i) {
            entries_.emplace_back(elements.GetDer(i));
        }
    }

    // Copies the range [begin, end), for instance the data of a file read from the card.
    template <class Iterator>
    Directory(Iterator const& begin, Iterator const& end) : Directory(Bytes(begin, end)) {}

    std::vector<T> const& getEntries() const& noexcept { return entries_; }
    // A temporary directory hands its entries over, so that a loop over them does not dangle.
    std::vector<T> getEntries() && noexcept { return std::move(entries_); }

private:
    std::vector<T> entries_;
};

}  // namespace pavlenenabler::enabler::pkcs15::codec
