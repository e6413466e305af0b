#pragma once

#include "iso7816/interchange/apdu.hpp"
#include "iso7816/interchange/channel_id.hpp"
#include "iso7816/interchange/iso7816_response.hpp"

// MANAGE CHANNEL (ISO 7816-4).
namespace iso7816::interchange::spec::manage_channel {

constexpr ApduCla Cla{0x00};
constexpr ApduIns Ins{0x70};

namespace open_any {

// The card names the channel it opened in exactly one data byte.
class Response : public Iso7816Response {
public:
    explicit Response(ApduResponse const& response);

    ChannelId GetChannel() const { return channel_; }

private:
    ChannelId channel_{0};
};

}  // namespace open_any

namespace open_specific {

class Response : public Iso7816Response {
public:
    using Iso7816Response::Iso7816Response;
};

}  // namespace open_specific

namespace close {

class Response : public Iso7816Response {
public:
    using Iso7816Response::Iso7816Response;
};

}  // namespace close

}  // namespace iso7816::interchange::spec::manage_channel
