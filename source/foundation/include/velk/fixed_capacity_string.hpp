#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <type_traits>
#include <utility>

#include "velk/erase_memory.hpp"
#include "velk/exceptions.hpp"
#include "velk/zero_allocator.hpp"

namespace velk {

// The buffer under the secure strings: exactly capacity + 1 elements, always allocated (also
// when empty), always terminated at size, erased whole before it is freed. It never grows;
// growing means building a new one and swapping.
template <typename T, typename Alloc = ZeroAllocator<T>>
class FixedCapacityString_ {
    static_assert(std::is_trivially_copyable_v<T>, "erased with a plain memory wipe");
    using AllocTraits = std::allocator_traits<Alloc>;

public:
    using size_type = std::size_t;

    explicit FixedCapacityString_(size_type capacity, Alloc const& alloc = Alloc())
        : alloc_(alloc), data_(allocate_(alloc_, capacity)), capacity_(capacity) {
        data_[0] = T();
    }

    // Precondition: n <= capacity.
    FixedCapacityString_(T const* p, size_type n, size_type capacity, Alloc const& alloc = Alloc())
        : FixedCapacityString_(capacity, alloc) {
        append(p, p + n);
    }

    // A copy keeps the source's capacity, not just its size.
    FixedCapacityString_(FixedCapacityString_ const& other)
        : FixedCapacityString_(other.data_, other.size_, other.capacity_,
                               AllocTraits::select_on_container_copy_construction(other.alloc_)) {}

    // The source keeps a buffer of its own (capacity 0), so it stays a usable empty string.
    FixedCapacityString_(FixedCapacityString_&& other) : FixedCapacityString_(0, other.alloc_) {
        swap(other);
    }

    FixedCapacityString_& operator=(FixedCapacityString_ const& other) {
        FixedCapacityString_ copy(other);
        swap(copy);
        return *this;
    }

    // Exchanges buffers: the old one is erased and freed when the source goes.
    FixedCapacityString_& operator=(FixedCapacityString_&& other) noexcept {
        swap(other);
        return *this;
    }

    ~FixedCapacityString_() {
        EraseMemory(data_, (capacity_ + 1) * sizeof(T));
        AllocTraits::deallocate(alloc_, data_, capacity_ + 1);
    }

    void swap(FixedCapacityString_& other) noexcept {
        using std::swap;
        swap(alloc_, other.alloc_);
        swap(data_, other.data_);
        swap(size_, other.size_);
        swap(capacity_, other.capacity_);
    }

    T* data() noexcept { return data_; }
    T const* data() const noexcept { return data_; }
    size_type size() const noexcept { return size_; }
    size_type capacity() const noexcept { return capacity_; }
    Alloc const& allocator() const noexcept { return alloc_; }

    // Precondition for both appends: the elements fit within the capacity.
    template <typename It>
    void append(It first, It last) {
        T* const end = std::copy(first, last, data_ + size_);
        size_ = static_cast<size_type>(end - data_);
        *end = T();
    }
    void append(size_type count, T value) {
        std::fill_n(data_ + size_, count, value);
        size_ += count;
        data_[size_] = T();
    }

    // Cut-off elements stay in the buffer until it is erased on release.
    void truncate(size_type n) noexcept {
        size_ = n;
        data_[n] = T();
    }

private:
    // capacity + 1 must neither wrap to a tiny block nor exceed what the allocator can give.
    static T* allocate_(Alloc& alloc, size_type capacity) {
        if (capacity >= AllocTraits::max_size(alloc)) {
            throw InputError("Secure string too long");
        }
        return AllocTraits::allocate(alloc, capacity + 1);
    }

    Alloc alloc_;
    T* data_;
    size_type size_ = 0;
    size_type capacity_;
};

}  // namespace velk
