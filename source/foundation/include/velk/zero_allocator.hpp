#pragma once

#include <cstddef>
#include <limits>
#include <new>

#include "velk/erase_memory.hpp"

namespace velk {

// Stateless allocator that erases every block before it is given back.
template <typename T>
class ZeroAllocator {
public:
    using value_type = T;

    ZeroAllocator() noexcept = default;
    template <typename U>
    ZeroAllocator(ZeroAllocator<U> const&) noexcept {}

    T* allocate(std::size_t n) {
        if (n > std::numeric_limits<std::size_t>::max() / sizeof(T)) {
            throw std::bad_array_new_length();
        }
        return static_cast<T*>(::operator new(n * sizeof(T)));
    }

    void deallocate(T* p, std::size_t n) noexcept {
        EraseMemory(p, n * sizeof(T));
        ::operator delete(p);
    }

    template <typename U>
    bool operator==(ZeroAllocator<U> const&) const noexcept {
        return true;
    }
    template <typename U>
    bool operator!=(ZeroAllocator<U> const&) const noexcept {
        return false;
    }
};

}  // namespace velk
