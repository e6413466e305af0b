#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "velk/allocated_string.hpp"

namespace testsupport::cardsim::detail {

// A short command APDU as the card sees it.
struct CommandApdu {
    std::uint8_t cla = 0;
    std::uint8_t ins = 0;
    std::uint8_t p1 = 0;
    std::uint8_t p2 = 0;
    // Class 8x and above: the applet's own commands.
    bool proprietary = false;
    std::uint8_t channel = 0;
    // May hold PIN bytes.
    velk::basic_allocated_string<unsigned char> data;
    // Response bytes the command admits: 0 without Le, 256 for Le 00.
    std::size_t ne = 0;
};

// The command, or the status word that refuses the bytes (never both).
struct DecodedCommand {
    std::optional<CommandApdu> command;
    std::uint16_t refusal = 0;
};

// Two bytes read as one big-endian number: P1-P2, identifiers, sizes.
inline std::uint16_t word(std::uint8_t high, std::uint8_t low) {
    return static_cast<std::uint16_t>(high << 8 | low);
}

// Decodes the four short cases; the class byte is read as ISO 7816-4 codes it, the proprietary
// classes with the same channel bits as the interindustry ones.
DecodedCommand decodeCommand(std::uint8_t const* bytes, std::size_t length);

}  // namespace testsupport::cardsim::detail
