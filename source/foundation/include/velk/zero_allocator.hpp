#pragma once

#include <cstddef>
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

    T* allocate(std::size_t n) { return static_cast<T*>(::operator new(n * sizeof(T))); }

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
