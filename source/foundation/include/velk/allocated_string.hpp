#pragma once

#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <iterator>
#include <ostream>
#include <string>
#include <string_view>
#include <type_traits>

#include "velk/exceptions.hpp"
#include "velk/fixed_capacity_string.hpp"
#include "velk/octet.hpp"
#include "velk/zero_allocator.hpp"

namespace velk {

// The string for secrets and card data. One heap buffer of capacity + 1 elements, no
// small-string buffer, and exact growth: capacity only ever becomes what an append needs, and
// every buffer left behind is erased before it is freed.
template <typename T, typename Traits = std::char_traits<T>, typename Alloc = ZeroAllocator<T>>
class basic_allocated_string {
    using Buffer = FixedCapacityString_<T, Alloc>;

    template <typename It>
    using IteratorCategory = typename std::iterator_traits<It>::iterator_category;
    template <typename It>
    static constexpr bool isForwardIterator =
        std::is_base_of_v<std::forward_iterator_tag, IteratorCategory<It>>;

public:
    using traits_type = Traits;
    using allocator_type = Alloc;
    using value_type = T;
    using size_type = std::size_t;
    using difference_type = std::ptrdiff_t;
    using reference = T&;
    using const_reference = T const&;
    using pointer = T*;
    using const_pointer = T const*;
    using iterator = T*;
    using const_iterator = T const*;

    static constexpr size_type npos = static_cast<size_type>(-1);

    basic_allocated_string() : buf_(0) {}
    basic_allocated_string(T const* p, size_type n) : buf_(p, n, n) {}
    basic_allocated_string(T const* text) : basic_allocated_string(text, Traits::length(text)) {}
    basic_allocated_string(size_type n, T value) : buf_(n) { buf_.append(n, value); }
    basic_allocated_string(std::initializer_list<T> values)
        : buf_(values.begin(), values.size(), values.size()) {}
    explicit basic_allocated_string(std::basic_string_view<T, Traits> view)
        : buf_(view.data(), view.size(), view.size()) {}
    template <typename It, typename = IteratorCategory<It>>
    basic_allocated_string(It first, It last) : buf_(initialCapacity_(first, last)) {
        append(first, last);
    }

    size_type size() const noexcept { return buf_.size(); }
    size_type length() const noexcept { return buf_.size(); }
    size_type capacity() const noexcept { return buf_.capacity(); }
    bool empty() const noexcept { return buf_.size() == 0; }

    T* data() noexcept { return buf_.data(); }
    T const* data() const noexcept { return buf_.data(); }
    T const* c_str() const noexcept { return buf_.data(); }
    std::basic_string_view<T, Traits> view() const noexcept { return {data(), size()}; }

    iterator begin() noexcept { return data(); }
    iterator end() noexcept { return data() + size(); }
    const_iterator begin() const noexcept { return data(); }
    const_iterator end() const noexcept { return data() + size(); }
    const_iterator cbegin() const noexcept { return begin(); }
    const_iterator cend() const noexcept { return end(); }

    T& operator[](size_type i) noexcept { return data()[i]; }
    T const& operator[](size_type i) const noexcept { return data()[i]; }
    T& at(size_type i) { return data()[checkedIndex_(i)]; }
    T const& at(size_type i) const { return data()[checkedIndex_(i)]; }
    T& front() noexcept { return data()[0]; }
    T const& front() const noexcept { return data()[0]; }
    T& back() noexcept { return data()[size() - 1]; }
    T const& back() const noexcept { return data()[size() - 1]; }

    // Always moves the content into a fresh buffer of exactly the new capacity; a request below
    // the size shrinks the capacity to the size.
    void reserve(size_type n) {
        size_type const c = n < size() ? size() : std::max(n, capacity());
        Buffer fresh(data(), size(), c, buf_.allocator());
        buf_.swap(fresh);
    }

    void resize(size_type n) { resize(n, T()); }
    void resize(size_type n, T fill) {
        if (n < size()) {
            buf_.truncate(n);
        } else if (n > size()) {
            if (n > capacity()) {
                reserve(n);
            }
            buf_.append(n - size(), fill);
        }
    }

    void clear() noexcept { buf_.truncate(0); }

    void push_back(T value) { append(&value, 1); }
    basic_allocated_string& append(T const* p, size_type n) { return append(p, p + n); }
    basic_allocated_string& append(T const* text) { return append(text, Traits::length(text)); }
    basic_allocated_string& append(basic_allocated_string const& other) {
        return append(other.begin(), other.end());
    }
    basic_allocated_string& append(std::initializer_list<T> values) {
        return append(values.begin(), values.end());
    }
    basic_allocated_string& append(size_type count, T value) {
        size_type const grown = grownSize_(count);
        if (capacity() < grown) {
            reserve(grown);
        }
        buf_.append(count, value);
        return *this;
    }
    template <typename It, typename = IteratorCategory<It>>
    basic_allocated_string& append(It first, It last) {
        if constexpr (isForwardIterator<It>) {
            size_type const grown = grownSize_(static_cast<size_type>(std::distance(first, last)));
            if (capacity() < grown) {
                // The range may lie inside this string: copy it before the old buffer goes.
                Buffer fresh(data(), size(), grown, buf_.allocator());
                fresh.append(first, last);
                buf_.swap(fresh);
            } else {
                buf_.append(first, last);
            }
        } else {
            for (; first != last; ++first) {
                push_back(*first);
            }
        }
        return *this;
    }

    basic_allocated_string& operator+=(basic_allocated_string const& other) {
        return append(other);
    }
    basic_allocated_string& operator+=(T const* text) { return append(text); }
    basic_allocated_string& operator+=(T value) { return append(&value, 1); }
    basic_allocated_string& operator+=(std::initializer_list<T> values) { return append(values); }

    basic_allocated_string substr(size_type pos = 0, size_type n = npos) const {
        if (pos > size()) {
            throw InputError("Substring position out of range");
        }
        return basic_allocated_string(data() + pos, std::min(n, size() - pos));
    }

    int compare(basic_allocated_string const& other) const noexcept {
        return view().compare(other.view());
    }

    void swap(basic_allocated_string& other) noexcept { buf_.swap(other.buf_); }

private:
    template <typename It>
    static size_type initialCapacity_(It first, It last) {
        if constexpr (isForwardIterator<It>) {
            return static_cast<size_type>(std::distance(first, last));
        } else {
            return 0;
        }
    }

    // The size after appending count elements; a sum that wraps would under-allocate.
    size_type grownSize_(size_type count) const {
        if (count > npos - size()) {
            throw InputError("Secure string too long");
        }
        return size() + count;
    }

    size_type checkedIndex_(size_type i) const {
        if (i >= size()) {
            throw InputError("String index out of range");
        }
        return i;
    }

    Buffer buf_;
};

// The result has the larger of a's capacity and the joint length.
template <typename T, typename Traits, typename Alloc>
basic_allocated_string<T, Traits, Alloc> operator+(
    basic_allocated_string<T, Traits, Alloc> const& a,
    basic_allocated_string<T, Traits, Alloc> const& b) {
    basic_allocated_string<T, Traits, Alloc> result(a);
    result.append(b);
    return result;
}

template <typename T, typename Traits, typename Alloc>
basic_allocated_string<T, Traits, Alloc> operator+(
    basic_allocated_string<T, Traits, Alloc> const& a, T const* b) {
    basic_allocated_string<T, Traits, Alloc> result(a);
    result.append(b);
    return result;
}

template <typename T, typename Traits, typename Alloc>
bool operator==(basic_allocated_string<T, Traits, Alloc> const& a,
                basic_allocated_string<T, Traits, Alloc> const& b) noexcept {
    return a.view() == b.view();
}

template <typename T, typename Traits, typename Alloc>
bool operator!=(basic_allocated_string<T, Traits, Alloc> const& a,
                basic_allocated_string<T, Traits, Alloc> const& b) noexcept {
    return !(a == b);
}

template <typename T, typename Traits, typename Alloc>
bool operator<(basic_allocated_string<T, Traits, Alloc> const& a,
               basic_allocated_string<T, Traits, Alloc> const& b) noexcept {
    return a.compare(b) < 0;
}

template <typename T, typename Traits, typename Alloc>
bool operator==(basic_allocated_string<T, Traits, Alloc> const& a, T const* b) noexcept {
    return a.view() == std::basic_string_view<T, Traits>(b);
}

template <typename T, typename Traits, typename Alloc>
bool operator!=(basic_allocated_string<T, Traits, Alloc> const& a, T const* b) noexcept {
    return !(a == b);
}

template <typename T, typename Traits, typename Alloc>
void swap(basic_allocated_string<T, Traits, Alloc>& a,
          basic_allocated_string<T, Traits, Alloc>& b) noexcept {
    a.swap(b);
}

// Secure strings never show their content, whatever the element type.
template <typename T, typename Traits, typename Alloc>
std::ostream& operator<<(std::ostream& os, basic_allocated_string<T, Traits, Alloc> const&) {
    return os << "<ERASED>";
}

}  // namespace velk
