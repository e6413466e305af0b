#pragma once

#include "teappletlib/interchange/cmd/aux_commands.hpp"
#include "teappletlib/interchange/cmd/file_commands.hpp"
#include "teappletlib/interchange/obj/driver/applet_manager_driver.hpp"

namespace teappletlib::interchange::obj::driver::impl::cmd {

class AppletManagerDriverCmd : public AppletManagerDriver {
public:
    AppletManagerDriverCmd(interchange::cmd::AuxCommands& aux,
                           interchange::cmd::FileCommands& files)
        : aux_(aux), files_(files) {}

    void initialiseApplet(ObjectLimits const& limits, PinLengthRange const& range,
                          unsigned int tries,
                          velk::basic_allocated_string<unsigned char> const& pin) override;
    void setLifecycle(Lifecycle lifecycle) override;
    // Throws velk::secure_elt_err::ResponseError when the card answers anything but a BIT
    // STRING.
    Capabilities getCapabilities() const override;
    ModelId getModelId() const override;

private:
    interchange::cmd::AuxCommands& aux_;
    interchange::cmd::FileCommands& files_;
};

}  // namespace teappletlib::interchange::obj::driver::impl::cmd
