#include "velk/erase_memory.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstddef>

namespace {

constexpr unsigned char Fill = 0xA5;

// Every length up to three 8-byte blocks, at every alignment, so that the single-byte head and
// the block stores are both exercised on unaligned addresses.
TEST(EraseMemory, ZeroesExactlyTheGivenRangeAtAnyAlignment) {
    for (std::size_t offset = 0; offset < 8; ++offset) {
        for (std::size_t n = 1; n <= 24; ++n) {
            std::array<unsigned char, 40> buffer;
            buffer.fill(Fill);
            velk::EraseMemory(buffer.data() + offset, n);
            for (std::size_t i = 0; i < buffer.size(); ++i) {
                bool const inside = i >= offset && i < offset + n;
                ASSERT_EQ(inside ? 0 : Fill, buffer[i]) << "offset " << offset << " n " << n;
            }
        }
    }
}

TEST(EraseMemory, ZeroOrNegativeCountWritesNothing) {
    std::array<unsigned char, 16> buffer;
    buffer.fill(Fill);
    // A count whose top bit is set is a negative length that went through size_t.
    for (std::size_t const n : {std::size_t{0}, static_cast<std::size_t>(-1),
                                static_cast<std::size_t>(-16), ~(~std::size_t{0} >> 1)}) {
        SecureZeroMemory(buffer.data(), n);
        EXPECT_TRUE(
            std::all_of(buffer.begin(), buffer.end(), [](unsigned char b) { return b == Fill; }))
            << "count " << n;
    }
}

}  // namespace
