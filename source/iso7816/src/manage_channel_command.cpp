#include "iso7816/interchange/manage_channel_command.hpp"

namespace iso7816::interchange::spec::manage_channel::open_any {

Response::Response(ApduResponse const& response) : Iso7816Response(response) {
    if (IsError()) {
        return;
    }
    ApduResponse::Data const data = response.GetData();
    if (data.size() == 1) {
        channel_ = ChannelId{data[0]};
    } else {
        markMalformed_();
    }
}

}  // namespace iso7816::interchange::spec::manage_channel::open_any
