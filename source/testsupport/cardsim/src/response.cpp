#include "response.hpp"

#include "status_words.hpp"

namespace testsupport::cardsim::detail {

Response dataResponse(ByteVector data, std::size_t ne) {
    if (data.size() > ne) {
        return status(sw::wrongLe(data.size()));
    }
    return {std::move(data), sw::Ok};
}

ByteVector encode(Response const& response) {
    ByteVector bytes = response.data;
    bytes.push_back(static_cast<std::uint8_t>(response.statusWord >> 8));
    bytes.push_back(static_cast<std::uint8_t>(response.statusWord & 0xFF));
    return bytes;
}

}  // namespace testsupport::cardsim::detail
