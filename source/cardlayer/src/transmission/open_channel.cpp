#include "cardlayer/transmission/open_channel.hpp"

#include "iso7816/interchange/apdu_cla.hpp"
#include "iso7816/interchange/cmd/impl/apdu/command_provider.hpp"

namespace cardlayer::transmission {

iso7816::interchange::ChannelId openChannel(iso7816::interchange::ApduTransmit& transmit) {
    using iso7816::interchange::BasicChannel;
    iso7816::interchange::cmd::impl::apdu::CommandProvider commands(transmit);
    iso7816::interchange::cmd::SelectionCommands const& selection = commands.getSelectionCommands();

    boost::optional<iso7816::interchange::ChannelId> const channel = selection.openChannel();
    if (!channel) {
        return BasicChannel;
    }
    if (channel->GetValue() <= iso7816::interchange::ApduCla::ChannelMask) {
        return *channel;
    }
    // The class byte cannot address this channel: give it back and stay on the basic channel.
    selection.closeChannel(*channel);
    return BasicChannel;
}

}  // namespace cardlayer::transmission
