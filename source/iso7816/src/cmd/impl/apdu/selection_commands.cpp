#include "iso7816/interchange/cmd/impl/apdu/selection_commands.hpp"

#include "iso7816/interchange/cmd/impl/apdu/process_error.hpp"
#include "iso7816/interchange/exceptions.hpp"
#include "iso7816/interchange/manage_channel_command.hpp"
#include "iso7816/interchange/select_command.hpp"
#include "velk/exceptions.hpp"

namespace iso7816::interchange::cmd::impl::apdu {

namespace {

namespace mc = spec::manage_channel;

constexpr std::uint8_t Open = 0x00;
constexpr std::uint8_t Close = 0x80;
constexpr std::uint8_t AssignedByCard = 0x00;
// The card answers the channel it opened in one byte.
constexpr std::uint32_t ChannelNumberLength = 1;

constexpr std::uint16_t FileNotFound = 0x6A82;
constexpr std::uint16_t NoChannelFree = 0x6A81;
constexpr std::uint16_t ChannelsUnsupported = 0x6881;
constexpr std::uint16_t WrongParameters = 0x6A86;
constexpr std::uint16_t NotClosed = 0x6200;

}  // namespace

// SELECT by AID.
bool SelectionCommands::select(Aid const& aid) {
    spec::select::aid::Response const response(transmit_.Transmit(spec::select::aid::getApdu(aid)));
    if (!response.IsError()) {
        return true;
    }
    if (response.HasCode(FileNotFound)) {
        return false;
    }
    processError(response);
}

// MANAGE CHANNEL open, channel assigned by the card.
boost::optional<ChannelId> SelectionCommands::openChannel() const {
    mc::open_any::Response const response(
        transmit_.Transmit(Apdu(mc::Cla, mc::Ins, Open, AssignedByCard, ChannelNumberLength)));
    if (!response.IsError()) {
        return response.GetChannel();
    }
    if (response.HasCode(NoChannelFree)) {
        return boost::none;
    }
    if (response.HasCode(ChannelsUnsupported)) {
        throw LogicalChannelsNotSupported("Logical channels are not supported");
    }
    processError(response);
}

// MANAGE CHANNEL open of the given channel.
bool SelectionCommands::openChannel(ChannelId channel) const {
    if (channel == BasicChannel) {
        throw velk::secure_elt_err::WrongData("Default channel cannot be opened");
    }
    mc::open_specific::Response const response(
        transmit_.Transmit(Apdu(mc::Cla, mc::Ins, Open, channel.GetValue(), ChannelNumberLength)));
    if (!response.IsError()) {
        return true;
    }
    if (response.HasCode(ChannelsUnsupported) || response.HasCode(WrongParameters)) {
        return false;
    }
    processError(response);
}

// MANAGE CHANNEL close.
bool SelectionCommands::closeChannel(ChannelId channel) const {
    if (channel == BasicChannel) {
        throw velk::secure_elt_err::WrongData("Default channel cannot be closed");
    }
    mc::close::Response const response(
        transmit_.Transmit(Apdu(mc::Cla, mc::Ins, Close, channel.GetValue(), 0)));
    if (!response.IsError()) {
        return true;
    }
    if (response.HasCode(NotClosed)) {
        return false;
    }
    processError(response);
}

}  // namespace iso7816::interchange::cmd::impl::apdu
