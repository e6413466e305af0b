#pragma once

#include "teappletlib/interchange/cmd/file_commands.hpp"
#include "teappletlib/interchange/obj/driver/info_manager_driver.hpp"

namespace teappletlib::interchange::obj::driver::impl::cmd {

class InfoManagerDriverCmd : public InfoManagerDriver {
public:
    explicit InfoManagerDriverCmd(interchange::cmd::FileCommands& files) : files_(files) {}

    SerialNumber getSerialNumber() const override;

private:
    interchange::cmd::FileCommands& files_;
};

}  // namespace teappletlib::interchange::obj::driver::impl::cmd
