#pragma once

#include <cstdint>
#include <string>

#include "testsupport/cardsim/byte_vector.hpp"
#include "velk/allocated_string.hpp"

namespace testsupport::virtualcard {

// The TCP connection to the vpcd reader driver of pcscd. Each message in either direction is a
// 2-byte big-endian length and that many bytes; a 1-byte message from the reader is a control
// command.
class VpcdLink {
public:
    using Message = velk::basic_allocated_string<unsigned char>;

    // Control commands of the reader.
    static constexpr std::uint8_t PowerOff = 0;
    static constexpr std::uint8_t PowerOn = 1;
    static constexpr std::uint8_t Reset = 2;
    static constexpr std::uint8_t GetAtr = 4;

    // Throws std::system_error when the reader cannot be reached.
    VpcdLink(std::string const& host, std::uint16_t port);
    ~VpcdLink();
    VpcdLink(VpcdLink const&) = delete;
    VpcdLink& operator=(VpcdLink const&) = delete;

    // For poll(): readable when a message (or the end of the connection) arrives.
    int descriptor() const { return fd_; }

    // Blocks until one whole message has arrived; false when the reader closed the connection.
    bool receive(Message& message);
    // Throws std::system_error when the connection is broken.
    void send(cardsim::ByteVector const& payload);

private:
    bool receiveExactly(unsigned char* buffer, std::size_t size);

    int fd_;
};

}  // namespace testsupport::virtualcard
