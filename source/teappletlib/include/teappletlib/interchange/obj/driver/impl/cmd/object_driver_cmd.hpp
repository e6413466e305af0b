#pragma once

#include "teappletlib/interchange/cmd/command_provider.hpp"
#include "teappletlib/interchange/obj/driver/impl/cmd/applet_manager_driver_cmd.hpp"
#include "teappletlib/interchange/obj/driver/impl/cmd/auth_object_manager_driver_cmd.hpp"
#include "teappletlib/interchange/obj/driver/impl/cmd/cache_key.hpp"
#include "teappletlib/interchange/obj/driver/impl/cmd/file_manager_driver_cmd.hpp"
#include "teappletlib/interchange/obj/driver/impl/cmd/info_manager_driver_cmd.hpp"
#include "teappletlib/interchange/obj/driver/impl/cmd/key_slot_manager_driver_cmd.hpp"
#include "teappletlib/interchange/obj/driver/object_driver.hpp"

namespace teappletlib::interchange::obj::driver::impl::cmd {

// The object layer over one transaction's command provider. Building it sends nothing. The
// provider and the cache must outlive it; destroying it writes the selected path to the cache.
class ObjectDriverCmd : public ObjectDriver {
public:
    ObjectDriverCmd(interchange::cmd::CommandProvider& provider, KeyValueCache const& cache);

    AuthObjectManagerDriver& getAuthObjectManagerDriver() override { return authObjects_; }
    AuthObjectManagerDriver const& getAuthObjectManagerDriver() const override {
        return authObjects_;
    }
    FileManagerDriver& getFileManagerDriver() override { return files_; }
    FileManagerDriver const& getFileManagerDriver() const override { return files_; }
    KeySlotManagerDriver& getKeySlotManagerDriver() override { return keySlots_; }
    KeySlotManagerDriver const& getKeySlotManagerDriver() const override { return keySlots_; }
    InfoManagerDriver& getInfoManagerDriver() override { return info_; }
    InfoManagerDriver const& getInfoManagerDriver() const override { return info_; }
    AppletManagerDriver& getAppletManagerDriver() override { return applet_; }
    AppletManagerDriver const& getAppletManagerDriver() const override { return applet_; }

private:
    AuthObjectManagerDriverCmd authObjects_;
    FileManagerDriverCmd files_;
    KeySlotManagerDriverCmd keySlots_;
    InfoManagerDriverCmd info_;
    AppletManagerDriverCmd applet_;
};

}  // namespace teappletlib::interchange::obj::driver::impl::cmd
