#include "apdu_log.hpp"

#include <cstdio>
#include <stdexcept>

namespace testsupport::virtualcard {
namespace {

constexpr std::uint8_t InsVerify = 0x20;
constexpr std::uint8_t InsChangeReferenceData = 0x24;
// Class, instruction, P1, P2 and Lc come before the data.
constexpr std::size_t HeaderWithLc = 5;

std::string hexByte(std::uint8_t byte) {
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02X", byte);
    return digits;
}

std::string hexLine(cardsim::ByteVector const& bytes) {
    std::string line;
    for (std::uint8_t const byte : bytes) {
        line += line.empty() ? "" : " ";
        line += hexByte(byte);
    }
    return line;
}

}  // namespace

ApduLog::ApduLog(std::string const& path) {
    if (path.empty()) {
        return;
    }
    file_.open(path, std::ios::out | std::ios::app);
    if (!file_) {
        throw std::runtime_error("cannot open the APDU log " + path);
    }
}

std::string ApduLog::maskedCommand(cardsim::ByteVector const& command) {
    bool const secret = command.size() > HeaderWithLc &&
                        (command[1] == InsVerify || command[1] == InsChangeReferenceData);
    if (!secret) {
        return hexLine(command);
    }
    cardsim::ByteVector const header(command.begin(), command.begin() + HeaderWithLc);
    std::string line = hexLine(header);
    for (std::size_t i = HeaderWithLc; i < command.size(); ++i) {
        line += " **";
    }
    return line;
}

void ApduLog::record(cardsim::ByteVector const& command, cardsim::ByteVector const& response) {
    if (!file_.is_open()) {
        return;
    }
    file_ << "> " << maskedCommand(command) << "\n< " << hexLine(response) << std::endl;
}

}  // namespace testsupport::virtualcard
