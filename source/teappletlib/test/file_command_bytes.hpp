#pragma once

#include <cstdint>

#include "testsupport/cardsim/byte_vector.hpp"
#include "testsupport/scripted_card.hpp"

namespace teappletlib::test {

using testsupport::cardsim::ByteVector;

inline std::uint8_t high(std::uint16_t value) {
    return static_cast<std::uint8_t>(value >> 8);
}

inline std::uint8_t low(std::uint16_t value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}

// SELECT with file information: <cla> A4 00 00 02 <fid> 09.
inline ByteVector selectFile(std::uint16_t fid, std::uint8_t cla = 0x00) {
    return {cla, 0xA4, 0x00, 0x00, 0x02, high(fid), low(fid), 0x09};
}

// READ BINARY: <cla> B0 <offset> <Le>, with Le 00 asking 256 bytes.
inline ByteVector readBinary(std::uint16_t offset, std::uint8_t le, std::uint8_t cla = 0x00) {
    return {cla, 0xB0, high(offset), low(offset), le};
}

// A scripted SELECT answered with the nine bytes of file information and 90 00: size in bytes
// 4-5, descriptor 38 (DF) or 01 (EF) in byte 8.
inline void expectSelect(testsupport::ScriptedCard& card, std::uint16_t fid, bool directory,
                         std::uint16_t size = 1) {
    auto const command = selectFile(fid);
    card.expect(testsupport::Bytes(command.begin(), command.end()))
        .answer({high(fid), low(fid), 0x20, 0x00, high(size), low(size), 0x00, 0x00,
                 static_cast<unsigned char>(directory ? 0x38 : 0x01), 0x90, 0x00});
}

}  // namespace teappletlib::test
