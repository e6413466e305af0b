#pragma once

#include "iso7816/interchange/raw_transmit.hpp"

namespace cardlayer::rawtransmission {

// Pass-through over the raw transport: the place where raw traffic can be traced.
class RawLogger : public iso7816::interchange::RawTransmit {
public:
    explicit RawLogger(iso7816::interchange::RawTransmit& inner) : inner_(inner) {}

    using RawTransmit::Transmit;
    velk::basic_allocated_string<unsigned char> Transmit(unsigned char const* data,
                                                         std::size_t length) override;

private:
    iso7816::interchange::RawTransmit& inner_;
};

}  // namespace cardlayer::rawtransmission
