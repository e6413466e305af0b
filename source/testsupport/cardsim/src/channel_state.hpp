#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "testsupport/cardsim/file_system.hpp"
#include "velk/allocated_string.hpp"

namespace testsupport::cardsim::detail {

// Room in the crypto input buffer: two writes of 255 bytes at offsets 0 and 255 fit.
constexpr std::size_t CryptoInputBufferSize = 512;
// The buffer is written by UPDATE BINARY with this short file identifier.
constexpr std::uint8_t CryptoInputBufferSfi = 0x7F;

struct SecurityEnvironment {
    enum class Operation { None, Sign, Decipher };
    Operation operation = Operation::None;
    std::uint8_t keyId = 0;
    std::uint8_t algorithm = 0;
};

// What one logical channel holds. The applet keeps its session per channel, so selecting it
// anew, closing the channel or a reset forgets the selection, environment, PIN and buffer.
struct ChannelState {
    bool open = false;
    bool appletSelected = false;
    FilePath currentDirectory;
    std::optional<std::uint16_t> currentFile;  // an EF in the current directory
    SecurityEnvironment environment;
    bool pinVerified = false;
    velk::basic_allocated_string<unsigned char> cryptoInput;

    static ChannelState opened() {
        ChannelState state;
        state.open = true;
        return state;
    }

    void selectApplet() {
        *this = opened();
        appletSelected = true;
        cryptoInput = velk::basic_allocated_string<unsigned char>(CryptoInputBufferSize, 0);
    }
};

}  // namespace testsupport::cardsim::detail
