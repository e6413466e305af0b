#include "teappletlib/interchange/obj/object_provider.hpp"

namespace teappletlib::interchange::obj {

ObjectProvider::ObjectProvider(driver::ObjectDriver& driver)
    : authObjects_(driver.getAuthObjectManagerDriver()),
      files_(driver.getFileManagerDriver()),
      keySlots_(driver.getKeySlotManagerDriver()),
      info_(driver.getInfoManagerDriver()),
      applet_(driver.getAppletManagerDriver()) {}

std::unique_ptr<AuthObject> ObjectProvider::getAuthObject(AuthObjectId id) const {
    return std::make_unique<AuthObject>(authObjects_.get(id));
}

std::unique_ptr<RsaKeySlot> ObjectProvider::getRsaKeySlot(KeyId id) const {
    return std::make_unique<RsaKeySlot>(keySlots_.getRsa(id));
}

std::unique_ptr<File> ObjectProvider::getFile(AbsoluteFid const& path) const {
    return std::make_unique<File>(files_.get(path));
}

}  // namespace teappletlib::interchange::obj
