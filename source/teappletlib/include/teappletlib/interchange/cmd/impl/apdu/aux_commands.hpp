#pragma once

#include "iso7816/interchange/apdu_transmit.hpp"
#include "teappletlib/interchange/cmd/aux_commands.hpp"

namespace teappletlib::interchange::cmd::impl::apdu {

class AuxCommands : public cmd::AuxCommands {
public:
    explicit AuxCommands(iso7816::interchange::ApduTransmit& transmit) : transmit_(transmit) {}

    void initialiseApplet(ObjectLimits const& limits, PinLengthRange const& range,
                          unsigned int tries,
                          velk::basic_allocated_string<unsigned char> const& pin) override;
    void setLifecycle(Lifecycle lifecycle) override;

private:
    iso7816::interchange::ApduTransmit& transmit_;
};

}  // namespace teappletlib::interchange::cmd::impl::apdu
