#include "der/der_iterator.hpp"

#include "element_header.hpp"
#include "slice_path.hpp"

using der::detail::EvaluateSlicePath;
using der::detail::NextElementLength;

CDerIterator::CDerIterator(Bytes const& bytes) : bytes_(bytes) {}

CDerIterator& CDerIterator::operator=(Bytes const& bytes) {
    bytes_ = bytes;
    return *this;
}

CDerString CDerIterator::GetDer(unsigned long i) const {
    unsigned long pos = 0;
    for (unsigned long n = 0;; ++n) {
        std::size_t const length = NextElementLength(bytes_, pos);
        if (length == 0) {
            return CDerString(Bytes());
        }
        if (n == i) {
            return CDerString(bytes_.substr(pos, length));
        }
        pos += length;
    }
}

CDerString CDerIterator::GetNextDer(unsigned long& pos) const {
    std::size_t const length = NextElementLength(bytes_, pos);
    if (length == 0) {
        return CDerString(Bytes());
    }
    CDerString element(bytes_.substr(pos, length));
    pos += length;
    return element;
}

unsigned long CDerIterator::NumDers() const noexcept {
    unsigned long count = 0;
    for (std::size_t pos = 0, length = 0; (length = NextElementLength(bytes_, pos)) != 0;
         pos += length) {
        ++count;
    }
    return count;
}

CDerIterator::Bytes CDerIterator::Slice(char const* path) const {
    bool ok = false;
    return Slice(path, ok);
}

CDerIterator::Bytes CDerIterator::Slice(char const* path, bool& ok) const {
    if (path == nullptr) {
        ok = false;
        return {};
    }
    return EvaluateSlicePath(bytes_, path, ok);
}

CDerIterator::Bytes CDerIterator::Slice(std::string const& path) const {
    bool ok = false;
    return Slice(path, ok);
}

CDerIterator::Bytes CDerIterator::Slice(std::string const& path, bool& ok) const {
    return EvaluateSlicePath(bytes_, path, ok);
}

CDerIterator::Bytes CDerIterator::SliceValue(char const* path) const {
    bool ok = false;
    return SliceValue(path, ok);
}

CDerIterator::Bytes CDerIterator::SliceValue(std::string const& path) const {
    bool ok = false;
    return SliceValue(path, ok);
}

CDerIterator::Bytes CDerIterator::SliceValue(Bytes const& path) const {
    bool ok = false;
    return SliceValue(std::string(path.begin(), path.end()), ok);
}

CDerIterator::Bytes CDerIterator::SliceValue(char const* path, bool& ok) const {
    if (path == nullptr) {
        ok = false;
        return {};
    }
    return SliceValue(std::string(path), ok);
}

CDerIterator::Bytes CDerIterator::SliceValue(std::string const& path, bool& ok) const {
    return Slice(path + '{', ok);
}
