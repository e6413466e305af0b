#include "teappletlib/interchange/obj/driver/impl/cmd/object_driver_cmd.hpp"

namespace teappletlib::interchange::obj::driver::impl::cmd {

ObjectDriverCmd::ObjectDriverCmd(interchange::cmd::CommandProvider& provider,
                                 KeyValueCache const& cache)
    : authObjects_(provider.getAccessControlCommands()),
      files_(cache, provider.getFileCommands()),
      keySlots_(
          &files_, provider,
          cache.get<boost::optional<WrappedKey>>(KeySlotManagerDriverCmd::CacheKeyActiveSymKey)),
      info_(provider.getFileCommands()),
      applet_(provider.getAuxCommands(), provider.getFileCommands()) {}

}  // namespace teappletlib::interchange::obj::driver::impl::cmd
