#pragma once

#include "iso7816/interchange/apdu_transmit.hpp"
#include "iso7816/interchange/cmd/selection_commands.hpp"

namespace iso7816::interchange::cmd::impl::apdu {

class SelectionCommands : public cmd::SelectionCommands {
public:
    explicit SelectionCommands(ApduTransmit& transmit) : transmit_(transmit) {}

    bool select(Aid const& aid) override;
    boost::optional<ChannelId> openChannel() const override;
    bool openChannel(ChannelId channel) const override;
    bool closeChannel(ChannelId channel) const override;

private:
    ApduTransmit& transmit_;
};

}  // namespace iso7816::interchange::cmd::impl::apdu
