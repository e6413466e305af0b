#include "command_dispatcher.hpp"

#include <algorithm>
#include <iterator>

#include "command_handlers.hpp"
#include "status_words.hpp"

namespace testsupport::cardsim::detail {
namespace {

struct Instruction {
    std::uint8_t ins;
    bool proprietary;  // class 80 (the applet's own) rather than 00 (ISO 7816-4)
    bool needsApplet;
    CommandHandler handler;
};

constexpr Instruction Instructions[] = {
    {0x70, false, false, manageChannel},
    {0xA4, false, false, select},
    {0xB0, false, true, readBinary},
    {0xD6, false, true, updateBinary},
    {0xE0, true, true, createFile},
    {0xE2, true, true, resizeFile},
    {0xCA, false, true, getData},
    {0x20, false, true, verify},
    {0x24, false, true, changeReferenceData},
    {0x22, false, true, manageSecurityEnvironment},
    {0x34, true, true, getRetryCounter},
    {0x35, true, true, deauthenticate},
    {0x3D, true, true, expirePin},
    {0x3F, true, true, disableSecureMessaging},
    {0x3A, true, true, readPublicComponent},
    {0x2A, true, true, performSecurityOperation},
};

}  // namespace

Response dispatch(CardState& card, CommandApdu const& command) {
    if (command.channel >= card.channels.size() || !card.channels[command.channel].open) {
        return status(sw::ChannelNotSupported);
    }
    auto const it = std::find_if(std::begin(Instructions), std::end(Instructions),
                                 [&](Instruction const& i) { return i.ins == command.ins; });
    if (it == std::end(Instructions)) {
        return status(sw::InstructionNotSupported);
    }
    if (it->proprietary != command.proprietary) {
        return status(sw::ClassNotSupported);
    }
    ChannelState& channel = card.channels[command.channel];
    if (it->needsApplet && !channel.appletSelected) {
        return status(sw::ConditionsOfUseNotSatisfied);
    }
    return it->handler(card, channel, command);
}

}  // namespace testsupport::cardsim::detail
