#pragma once

#include <fstream>
#include <string>

#include "testsupport/cardsim/byte_vector.hpp"

namespace testsupport::virtualcard {

// One line per exchange, "> command" then "< response" in hex. The data of VERIFY and CHANGE
// REFERENCE DATA is written as "**" per byte, so no PIN ever reaches the log.
class ApduLog {
public:
    // An empty path logs nothing. Throws std::runtime_error when the file cannot be opened.
    explicit ApduLog(std::string const& path);

    void record(cardsim::ByteVector const& command, cardsim::ByteVector const& response);

    // The command as the log shows it.
    static std::string maskedCommand(cardsim::ByteVector const& command);

private:
    std::ofstream file_;
};

}  // namespace testsupport::virtualcard
