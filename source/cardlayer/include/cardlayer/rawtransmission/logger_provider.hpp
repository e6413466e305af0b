#pragma once

#include "cardlayer/rawtransmission/raw_logger.hpp"
#include "cardlayer/rawtransmission/raw_transmission_provider.hpp"

namespace cardlayer::rawtransmission {

// The bottom of a transmission stack: a RawLogger over the card I/O.
class LoggerProvider : public RawTransmissionProvider {
public:
    explicit LoggerProvider(iso7816::interchange::RawTransmit& cardIo) : logger_(cardIo) {}

    iso7816::interchange::RawTransmit& getRawTransmit() override { return logger_; }

private:
    RawLogger logger_;
};

}  // namespace cardlayer::rawtransmission
