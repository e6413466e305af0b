#pragma once

#include <memory>

#include "teappletlib/interchange/absolute_fid.hpp"
#include "teappletlib/interchange/auth_object_id.hpp"
#include "teappletlib/interchange/key_id.hpp"
#include "teappletlib/interchange/obj/auth_object.hpp"
#include "teappletlib/interchange/obj/driver/object_driver.hpp"
#include "teappletlib/interchange/obj/file.hpp"
#include "teappletlib/interchange/obj/rsa_key_slot.hpp"

namespace teappletlib::interchange::obj {

// Hands out the card's objects by reference. Handing out sends nothing; the first card traffic
// comes with the first operation on a handle.
class ObjectProvider {
public:
    explicit ObjectProvider(driver::ObjectDriver& driver);

    std::unique_ptr<AuthObject> getAuthObject(AuthObjectId id) const;
    std::unique_ptr<RsaKeySlot> getRsaKeySlot(KeyId id) const;
    std::unique_ptr<File> getFile(AbsoluteFid const& path) const;
    // The card and the applet as a whole have no handles.
    driver::InfoManagerDriver& getInfoManager() const { return info_; }
    driver::AppletManagerDriver& getAppletManager() const { return applet_; }

private:
    driver::AuthObjectManagerDriver& authObjects_;
    driver::FileManagerDriver& files_;
    driver::KeySlotManagerDriver& keySlots_;
    driver::InfoManagerDriver& info_;
    driver::AppletManagerDriver& applet_;
};

}  // namespace teappletlib::interchange::obj
