#pragma once

#include <boost/optional.hpp>

#include "iso7816/interchange/aid.hpp"
#include "iso7816/interchange/channel_id.hpp"

namespace iso7816::interchange::cmd {

// Application selection and logical channels.
class SelectionCommands {
public:
    virtual ~SelectionCommands() = default;

    // False when the card has no such application.
    virtual bool select(Aid const& aid) = 0;
    // Opens a channel of the card's choice; empty when no channel is free.
    virtual boost::optional<ChannelId> openChannel() const = 0;
    // False when the card refuses that channel.
    virtual bool openChannel(ChannelId channel) const = 0;
    // False when the card reports a warning instead of closing.
    virtual bool closeChannel(ChannelId channel) const = 0;
};

}  // namespace iso7816::interchange::cmd
