#include "cardlayer/rawtransmission/raw_logger.hpp"

namespace cardlayer::rawtransmission {

velk::basic_allocated_string<unsigned char> RawLogger::Transmit(unsigned char const* data,
                                                                std::size_t length) {
    return inner_.Transmit(data, length);
}

}  // namespace cardlayer::rawtransmission
