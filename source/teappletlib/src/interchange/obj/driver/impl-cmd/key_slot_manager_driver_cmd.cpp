#include "teappletlib/interchange/obj/driver/impl/cmd/key_slot_manager_driver_cmd.hpp"

#include "teappletlib/interchange/obj/driver/impl/cmd/crypto_input_buffer.hpp"
#include "teappletlib/interchange/obj/driver/impl/cmd/file_manager_driver_cmd.hpp"
#include "teappletlib/interchange/obj/driver/impl/cmd/rsa_key_slot_driver_cmd.hpp"

namespace teappletlib::interchange::obj::driver::impl::cmd {

CacheKey const KeySlotManagerDriverCmd::CacheKeyActiveSymKey{
    "06e0c34c-b9d2-11e9-a2a3-2a2ae2dbcce4"};

std::shared_ptr<RsaKeySlotDriver> KeySlotManagerDriverCmd::getRsa(KeyId id) {
    return std::make_shared<RsaKeySlotDriverCmd>(provider_, id);
}

std::shared_ptr<RsaKeySlotDriver> KeySlotManagerDriverCmd::getRsa(KeyId id) const {
    return std::make_shared<RsaKeySlotDriverCmd>(provider_, id);
}

std::shared_ptr<RsaKeySlotDriver> KeySlotManagerDriverCmd::createRsa(unsigned int bits,
                                                                     KeyControlFlags flags,
                                                                     Acl const& first,
                                                                     Acl const& second, bool flag) {
    auto& crypto = provider_.getCryptoCommands();
    auto const id = crypto.createKeySlot(AsymAlg::Rsa, bits, flags, first, second, flag);
    crypto.generateKeyPair(AsymAlg::Rsa, id);
    return getRsa(id);
}

std::shared_ptr<RsaKeySlotDriver> KeySlotManagerDriverCmd::unwrapRsa(AbsoluteFid const& path,
                                                                     WrappedKey const& key,
                                                                     KeyControlFlags flags,
                                                                     Acl const& first,
                                                                     Acl const& second, bool flag) {
    files_->select(path);
    // The entry mutex is held only for the read and for the write, never across an APDU.
    bool const loaded = [&] {
        auto const active = activeKey_->fetch([] { return boost::optional<WrappedKey>(); });
        return *active && **active == key;
    }();
    if (!loaded) {
        try {
            unwrapSecretKey_(key);
        } catch (...) {
            // The applet may or may not hold the new key now; only a fresh unwrap can tell.
            activeKey_->update(boost::none);
            throw;
        }
        activeKey_->update(key);
    }
    auto const id =
        provider_.getCryptoCommands().unwrapPrivateKey(AsymAlg::Rsa, flags, first, second, flag);
    return getRsa(id);
}

void KeySlotManagerDriverCmd::unwrapSecretKey_(WrappedKey const& key) {
    velk::basic_allocated_string<unsigned char> const wrapped(key.bytes.data(), key.bytes.size());
    writeCryptoInputBuffer(provider_, wrapped);
    provider_.getCryptoCommands().unwrapSecretKey(key.keyId, 0,
                                                  static_cast<unsigned short>(wrapped.size()));
}

}  // namespace teappletlib::interchange::obj::driver::impl::cmd
