#pragma once

#include "iso7816/interchange/raw_transmit.hpp"

namespace iso7816::interchange {

// The raw byte transport of a connected card, valid for one transaction.
class CardIo : public RawTransmit {};

}  // namespace iso7816::interchange
