#pragma once

#include <cstdint>

namespace teappletlib::interchange {

enum class FileType : std::uint32_t { Df = 0, Ef = 1 };

// What a SELECT with information tells of a file.
struct FileInformation {
    std::uint16_t size;
    FileType type;
};

constexpr bool operator==(FileInformation const& a, FileInformation const& b) noexcept {
    return a.size == b.size && a.type == b.type;
}
constexpr bool operator!=(FileInformation const& a, FileInformation const& b) noexcept {
    return !(a == b);
}

}  // namespace teappletlib::interchange
