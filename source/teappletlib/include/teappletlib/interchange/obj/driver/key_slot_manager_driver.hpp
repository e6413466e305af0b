#pragma once

#include <memory>

#include "teappletlib/interchange/absolute_fid.hpp"
#include "teappletlib/interchange/acl.hpp"
#include "teappletlib/interchange/key_flags.hpp"
#include "teappletlib/interchange/key_id.hpp"
#include "teappletlib/interchange/obj/driver/rsa_key_slot_driver.hpp"
#include "teappletlib/interchange/obj/driver/wrapped_key.hpp"

namespace teappletlib::interchange::obj::driver {

// The applet's key slots.
class KeySlotManagerDriver {
public:
    virtual ~KeySlotManagerDriver() = default;

    // Talks to nothing: the slot need not hold a key.
    virtual std::shared_ptr<RsaKeySlotDriver> getRsa(KeyId id) = 0;
    virtual std::shared_ptr<RsaKeySlotDriver> getRsa(KeyId id) const = 0;
    // A new slot with a key pair generated on the card.
    virtual std::shared_ptr<RsaKeySlotDriver> createRsa(unsigned int bits, KeyControlFlags flags,
                                                        Acl const& first, Acl const& second,
                                                        bool flag) = 0;
    // A new slot with a private key unwrapped by key, after the file path is selected.
    virtual std::shared_ptr<RsaKeySlotDriver> unwrapRsa(AbsoluteFid const& path,
                                                        WrappedKey const& key,
                                                        KeyControlFlags flags, Acl const& first,
                                                        Acl const& second, bool flag) = 0;
};

}  // namespace teappletlib::interchange::obj::driver
