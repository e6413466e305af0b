#pragma once

#include "card_state.hpp"
#include "command_apdu.hpp"
#include "response.hpp"

namespace testsupport::cardsim::detail {

// Each handler answers one instruction on the channel the command came in on; the dispatcher
// has checked the class, that the channel is open and, where needed, that the applet is selected.
using CommandHandler = Response (*)(CardState&, ChannelState&, CommandApdu const&);

// ISO 7816-4 MANAGE CHANNEL.
Response manageChannel(CardState& card, ChannelState& channel, CommandApdu const& command);

// File group: SELECT (applet by AID, files by identifier), READ BINARY, UPDATE BINARY (the
// current EF, or the crypto input buffer by short identifier), CREATE FILE in the current
// directory, RESIZE of the current EF, GET DATA.
Response select(CardState& card, ChannelState& channel, CommandApdu const& command);
Response readBinary(CardState& card, ChannelState& channel, CommandApdu const& command);
Response updateBinary(CardState& card, ChannelState& channel, CommandApdu const& command);
Response createFile(CardState& card, ChannelState& channel, CommandApdu const& command);
Response resizeFile(CardState& card, ChannelState& channel, CommandApdu const& command);
Response getData(CardState& card, ChannelState& channel, CommandApdu const& command);

// Access control: VERIFY, CHANGE REFERENCE DATA, GET RETRY COUNTER, DEAUTHENTICATE, EXPIRE PIN,
// and switching secure messaging off, which this card never has on.
Response verify(CardState& card, ChannelState& channel, CommandApdu const& command);
Response changeReferenceData(CardState& card, ChannelState& channel, CommandApdu const& command);
Response getRetryCounter(CardState& card, ChannelState& channel, CommandApdu const& command);
Response deauthenticate(CardState& card, ChannelState& channel, CommandApdu const& command);
Response expirePin(CardState& card, ChannelState& channel, CommandApdu const& command);
Response disableSecureMessaging(CardState& card, ChannelState& channel, CommandApdu const& command);

// Crypto: MANAGE SECURITY ENVIRONMENT, the signature and decipher operations, READ PUBLIC KEY.
Response manageSecurityEnvironment(CardState& card, ChannelState& channel,
                                   CommandApdu const& command);
Response performSecurityOperation(CardState& card, ChannelState& channel,
                                  CommandApdu const& command);
Response readPublicComponent(CardState& card, ChannelState& channel, CommandApdu const& command);

}  // namespace testsupport::cardsim::detail
