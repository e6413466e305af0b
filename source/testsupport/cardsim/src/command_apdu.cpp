#include "command_apdu.hpp"

#include "status_words.hpp"

namespace testsupport::cardsim::detail {
namespace {

constexpr std::size_t HeaderLength = 4;
constexpr std::size_t ShortLeMax = 256;

DecodedCommand refuse(std::uint16_t statusWord) {
    return {std::nullopt, statusWord};
}

// Reads the channel from the class byte; 0 when the class can be served, else the refusal.
std::uint16_t decodeClass(std::uint8_t cla, CommandApdu& command) {
    if (cla == 0xFF) {
        return sw::ClassNotSupported;
    }
    command.proprietary = (cla & 0x80) != 0;
    std::uint8_t const coding = cla & 0x7F;
    if ((coding & 0x60) == 0x00) {
        // First interindustry coding: 000c ssnn.
        if ((coding & 0x0C) != 0) {
            return sw::SecureMessagingNotSupported;
        }
        if ((coding & 0x10) != 0) {
            return sw::ChainingNotSupported;
        }
        command.channel = coding & 0x03;
        return 0;
    }
    if ((coding & 0x40) != 0) {
        // Further interindustry coding: 01sc nnnn, channels 4 to 19.
        if ((coding & 0x20) != 0) {
            return sw::SecureMessagingNotSupported;
        }
        if ((coding & 0x10) != 0) {
            return sw::ChainingNotSupported;
        }
        command.channel = static_cast<std::uint8_t>(4 + (coding & 0x0F));
        return 0;
    }
    return sw::ClassNotSupported;
}

std::size_t neOf(std::uint8_t le) {
    return le == 0 ? ShortLeMax : le;
}

}  // namespace

DecodedCommand decodeCommand(std::uint8_t const* bytes, std::size_t length) {
    if (bytes == nullptr || length < HeaderLength) {
        return refuse(sw::WrongLength);
    }
    CommandApdu command;
    command.cla = bytes[0];
    command.ins = bytes[1];
    command.p1 = bytes[2];
    command.p2 = bytes[3];
    if (std::uint16_t const refusal = decodeClass(command.cla, command); refusal != 0) {
        return refuse(refusal);
    }
    if (length == HeaderLength + 1) {
        command.ne = neOf(bytes[4]);
    } else if (length > HeaderLength + 1) {
        std::size_t const lc = bytes[4];
        std::size_t const body = length - HeaderLength - 1;
        // Lc 00 opens an extended length, which this card does not take.
        if (lc == 0 || (body != lc && body != lc + 1)) {
            return refuse(sw::WrongLength);
        }
        command.data.append(bytes + HeaderLength + 1, lc);
        if (body == lc + 1) {
            command.ne = neOf(bytes[length - 1]);
        }
    }
    return {std::move(command), 0};
}

}  // namespace testsupport::cardsim::detail
