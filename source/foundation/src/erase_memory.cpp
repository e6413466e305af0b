#include "velk/erase_memory.hpp"

#include <cstring>
#include <type_traits>

void SecureZeroMemory(void* p, std::size_t n) noexcept {
    if (static_cast<std::make_signed_t<std::size_t>>(n) <= 0) {
        return;
    }
    // explicit_bzero is a memset the compiler is not allowed to elide, and it has no
    // alignment requirement on p.
    ::explicit_bzero(p, n);
}
