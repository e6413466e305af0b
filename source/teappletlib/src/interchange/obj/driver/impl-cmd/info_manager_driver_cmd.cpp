#include "teappletlib/interchange/obj/driver/impl/cmd/info_manager_driver_cmd.hpp"

#include "data_object.hpp"

namespace teappletlib::interchange::obj::driver::impl::cmd {

SerialNumber InfoManagerDriverCmd::getSerialNumber() const {
    return SerialNumber(detail::getDataBytes<8>(files_, iso7816::interchange::DataTag{0x0100}, 0));
}

}  // namespace teappletlib::interchange::obj::driver::impl::cmd
