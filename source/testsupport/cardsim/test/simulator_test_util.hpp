#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iomanip>
#include <ostream>
#include <sstream>
#include <string>

#include "testsupport/cardsim/byte_vector.hpp"
#include "testsupport/cardsim/card_simulator.hpp"

namespace testsupport::cardsim::test {

// The applet's identifier, the PKCS#15 AID.
inline ByteVector const AppletAid{0xA0, 0x00, 0x00, 0x00, 0x63, 0x50,
                                  0x4B, 0x43, 0x53, 0x2D, 0x31, 0x35};

inline ByteVector concat(std::initializer_list<ByteVector> parts) {
    ByteVector out;
    for (ByteVector const& part : parts) {
        out.insert(out.end(), part.begin(), part.end());
    }
    return out;
}

inline ByteVector text(std::string const& s) {
    return ByteVector(s.begin(), s.end());
}

// "00 a4 04 00" for test names and messages.
inline std::string hex(ByteVector const& bytes) {
    std::ostringstream out;
    out << std::hex << std::setfill('0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        out << (i == 0 ? "" : " ") << std::setw(2) << int{bytes[i]};
    }
    return out.str();
}

// SW1 SW2 of a response.
inline ByteVector statusOf(ByteVector const& response) {
    return response.size() < 2 ? response : ByteVector(response.end() - 2, response.end());
}

// The response without its status word.
inline ByteVector dataOf(ByteVector const& response) {
    return response.size() < 2 ? ByteVector{} : ByteVector(response.begin(), response.end() - 2);
}

// A command and the answer it must get, for table-driven tests.
struct CommandCase {
    ByteVector command;
    ByteVector answer;
};

inline void PrintTo(CommandCase const& c, std::ostream* out) {
    *out << hex(c.command);
}

// SELECT of the applet on the channel coded in cla.
inline ByteVector selectApplet(CardSimulator& card, std::uint8_t cla = 0x00) {
    return card.transmit(concat({{cla, 0xA4, 0x04, 0x00, 0x0C}, AppletAid}));
}

// VERIFY of PIN object 3 with the PIN as the enabler sends it: padded with 00 to 15 bytes.
inline ByteVector verifyPin(CardSimulator& card, std::string const& pin, std::uint8_t cla = 0x00) {
    ByteVector padded = text(pin);
    padded.resize(15, 0x00);
    return card.transmit(concat({{cla, 0x20, 0x00, 0x03, 0x0F}, padded}));
}

}  // namespace testsupport::cardsim::test
