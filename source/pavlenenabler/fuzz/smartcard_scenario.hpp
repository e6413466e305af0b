#pragma once

#include "iso7816/interchange/card_io.hpp"

namespace pavlenenabler::fuzz {

// The card manager's card object over a card whose every transaction talks through card: it
// reads the serial number, the token label and the certificates, logs in and signs and
// decrypts with the card's keys, as a host would. A failed operation does not stop the next.
void runSmartcard(iso7816::interchange::CardIo& card);

}  // namespace pavlenenabler::fuzz
