#pragma once

#include "iso7816/interchange/raw_transmit.hpp"

namespace iso7816::fuzz {

// Every ISO command whose answer the card layers parse, each sent once over the short-APDU
// encoder onto card; a failure of one command does not stop the next.
void runIsoCommands(interchange::RawTransmit& card);

}  // namespace iso7816::fuzz
