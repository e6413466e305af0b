#pragma once

#include "teappletlib/interchange/obj/driver/applet_manager_driver.hpp"
#include "teappletlib/interchange/obj/driver/auth_object_manager_driver.hpp"
#include "teappletlib/interchange/obj/driver/file_manager_driver.hpp"
#include "teappletlib/interchange/obj/driver/info_manager_driver.hpp"
#include "teappletlib/interchange/obj/driver/key_slot_manager_driver.hpp"

namespace teappletlib::interchange::obj::driver {

// Root of the object layer: the card's PIN objects, files, key slots, information and applet.
class ObjectDriver {
public:
    virtual ~ObjectDriver() = default;

    virtual AuthObjectManagerDriver& getAuthObjectManagerDriver() = 0;
    virtual AuthObjectManagerDriver const& getAuthObjectManagerDriver() const = 0;
    virtual FileManagerDriver& getFileManagerDriver() = 0;
    virtual FileManagerDriver const& getFileManagerDriver() const = 0;
    virtual KeySlotManagerDriver& getKeySlotManagerDriver() = 0;
    virtual KeySlotManagerDriver const& getKeySlotManagerDriver() const = 0;
    virtual InfoManagerDriver& getInfoManagerDriver() = 0;
    virtual InfoManagerDriver const& getInfoManagerDriver() const = 0;
    virtual AppletManagerDriver& getAppletManagerDriver() = 0;
    virtual AppletManagerDriver const& getAppletManagerDriver() const = 0;
};

}  // namespace teappletlib::interchange::obj::driver
