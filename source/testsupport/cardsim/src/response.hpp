#pragma once

#include <cstdint>

#include "testsupport/cardsim/byte_vector.hpp"

namespace testsupport::cardsim::detail {

struct Response {
    ByteVector data;
    std::uint16_t statusWord;
};

inline Response status(std::uint16_t statusWord) {
    return {{}, statusWord};
}

// The answer data with 9000, or 6Cxx without data when Le does not let all of it through.
Response dataResponse(ByteVector data, std::size_t ne);

// The data followed by SW1 and SW2.
ByteVector encode(Response const& response);

}  // namespace testsupport::cardsim::detail
