#pragma once

#include "card_state.hpp"
#include "command_apdu.hpp"
#include "response.hpp"

namespace testsupport::cardsim::detail {

// Routes a decoded command to its handler after the checks every command shares: the channel
// is open, the instruction is known in this class, and the applet is selected where it must be.
Response dispatch(CardState& card, CommandApdu const& command);

}  // namespace testsupport::cardsim::detail
