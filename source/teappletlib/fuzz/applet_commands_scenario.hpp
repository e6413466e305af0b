#pragma once

#include "iso7816/interchange/card_io.hpp"

namespace teappletlib::fuzz {

// Every command of the applet's four groups, each sent once through the raw logger and the
// short-APDU encoder onto card, in an order a real card carries out: applet, data objects and
// file information first, then the PIN, the key slots and the administration. A failure of one
// command does not stop the next.
void runAppletCommands(iso7816::interchange::CardIo& card);

}  // namespace teappletlib::fuzz
