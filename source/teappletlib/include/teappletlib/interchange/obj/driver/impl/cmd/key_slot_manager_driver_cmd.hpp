#pragma once

#include <memory>
#include <utility>

#include <boost/optional.hpp>

#include "cachelib/entry.hpp"
#include "teappletlib/interchange/cmd/command_provider.hpp"
#include "teappletlib/interchange/obj/driver/impl/cmd/cache_key.hpp"
#include "teappletlib/interchange/obj/driver/key_slot_manager_driver.hpp"

namespace teappletlib::interchange::obj::driver::impl::cmd {

class FileManagerDriverCmd;

// Remembers, in a cache entry shared by every object driver of one storage, which wrapped key
// the applet holds, so that unwrapping again with the same key skips the secret-key unwrap.
class KeySlotManagerDriverCmd : public KeySlotManagerDriver {
public:
    using ActiveKeyEntry = cachelib::Entry<boost::optional<WrappedKey>>;

    static CacheKey const CacheKeyActiveSymKey;

    KeySlotManagerDriverCmd(FileManagerDriverCmd* files,
                            interchange::cmd::CommandProvider& provider,
                            std::shared_ptr<ActiveKeyEntry> activeKey)
        : files_(files), provider_(provider), activeKey_(std::move(activeKey)) {}

    std::shared_ptr<RsaKeySlotDriver> getRsa(KeyId id) override;
    std::shared_ptr<RsaKeySlotDriver> getRsa(KeyId id) const override;
    std::shared_ptr<RsaKeySlotDriver> createRsa(unsigned int bits, KeyControlFlags flags,
                                                Acl const& first, Acl const& second,
                                                bool flag) override;
    std::shared_ptr<RsaKeySlotDriver> unwrapRsa(AbsoluteFid const& path, WrappedKey const& key,
                                                KeyControlFlags flags, Acl const& first,
                                                Acl const& second, bool flag) override;

private:
    void unwrapSecretKey_(WrappedKey const& key);

    FileManagerDriverCmd* files_;
    interchange::cmd::CommandProvider& provider_;
    std::shared_ptr<ActiveKeyEntry> activeKey_;
};

}  // namespace teappletlib::interchange::obj::driver::impl::cmd
