#pragma once

#include <cstddef>

// Zeroes n bytes at p with stores the optimiser may not drop. A count of 0, or one whose top
// bit is set (a negative length that went through an unsigned type), writes nothing.
void SecureZeroMemory(void* p, std::size_t n) noexcept;

namespace velk {

// Call on every buffer that held secret data before it is freed or reused.
inline void EraseMemory(void* p, std::size_t n) noexcept {
    ::SecureZeroMemory(p, n);
}

}  // namespace velk
