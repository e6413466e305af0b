#include "teappletlib/interchange/obj/driver/impl/cmd/key_slot_manager_driver_cmd.hpp"

#include <gtest/gtest.h>

#include <memory>

#include "file_command_bytes.hpp"
#include "teappletlib/interchange/cmd/impl/apdu/command_provider.hpp"
#include "teappletlib/interchange/obj/driver/impl/cmd/object_driver_cmd.hpp"
#include "testsupport/scripted_card.hpp"
#include "thrown_message.hpp"
#include "transmit_provider.hpp"
#include "velk/exceptions.hpp"

namespace teappletlib::interchange::obj::driver::impl::cmd {
namespace {

using namespace iso7816::interchange::literals;
using testsupport::Bytes;

WrappedKey const KeyA{KeyId{5}, {0x01, 0x02, 0x03}};
WrappedKey const KeyB{KeyId{5}, {0x01, 0x02, 0x04}};
WrappedKey const KeyAUnderOtherKey{KeyId{6}, {0x01, 0x02, 0x03}};

// The simulated card has no unwrap commands, so these run against a scripted card.
class UnwrapTest : public ::testing::Test {
protected:
    void expectWalkTo4302() {
        test::expectSelect(card, 0x3F00, true);
        test::expectSelect(card, 0x4302, true);
    }

    // Buffer write (00 D6 FF 00) and UNWRAP SECRET KEY (80 3C 00 <key> with offset 0, length).
    testsupport::ScriptedCard::Exchange& expectSecretKeyUnwrap(WrappedKey const& key) {
        card.expect(Bytes{0x00, 0xD6, 0xFF, 0x00, 0x03} + key.bytes).answer({0x90, 0x00});
        return card.expect({0x80, 0x3C, 0x00, key.keyId.GetValue(), 0x04, 0x00, 0x00, 0x00, 0x03});
    }

    // UNWRAP PRIVATE KEY (80 3C 02 00) answering the new slot 07.
    void expectPrivateKeyUnwrap() {
        card.expect({0x80, 0x3C, 0x02, 0x00, 0x0B, 0x21, 0x01, 0x00, 0x06, 0x02, 0x01, 0x00, 0x07,
                     0x02, 0x01, 0x00, 0x01})
            .answer({0x07, 0x90, 0x00});
    }

    KeyId unwrap(ObjectDriverCmd& objects, WrappedKey const& key) {
        return objects.getKeySlotManagerDriver()
            .unwrapRsa({0x4302_fid}, key, KeyControlFlags{}, Acl::Anybody, Acl::Anybody, true)
            ->getId();
    }

    testsupport::ScriptedCard card;
    test::TransmitProvider provider{card.transmit()};
    interchange::cmd::impl::apdu::CommandProvider commands{provider};
    KeyValueCache cache{std::make_shared<KeyValueCache::Storage>()};
    ObjectDriverCmd objects{commands, cache};
};

TEST_F(UnwrapTest, SecretKeyIsUnwrappedOnlyWhenItChanges) {
    expectWalkTo4302();
    expectSecretKeyUnwrap(KeyA).answer({0x90, 0x00});
    expectPrivateKeyUnwrap();
    EXPECT_EQ(unwrap(objects, KeyA), KeyId{7});

    expectPrivateKeyUnwrap();
    EXPECT_EQ(unwrap(objects, KeyA), KeyId{7});

    for (auto const& key : {KeyB, KeyAUnderOtherKey}) {
        expectSecretKeyUnwrap(key).answer({0x90, 0x00});
        expectPrivateKeyUnwrap();
        unwrap(objects, key);
    }
}

TEST_F(UnwrapTest, ActiveKeyIsSharedThroughTheStorage) {
    expectWalkTo4302();
    expectSecretKeyUnwrap(KeyA).answer({0x90, 0x00});
    expectPrivateKeyUnwrap();
    unwrap(objects, KeyA);

    // A second object driver on the storage while the first lives: it sees the active key, but
    // the first has not written its selection back yet.
    ObjectDriverCmd next(commands, cache);
    expectWalkTo4302();
    expectPrivateKeyUnwrap();
    EXPECT_EQ(unwrap(next, KeyA), KeyId{7});
}

TEST_F(UnwrapTest, FailedSecretKeyUnwrapForgetsTheActiveKey) {
    expectWalkTo4302();
    expectSecretKeyUnwrap(KeyA).answer({0x90, 0x00});
    expectPrivateKeyUnwrap();
    unwrap(objects, KeyA);

    expectSecretKeyUnwrap(KeyB).answer({0x6A, 0x88});
    EXPECT_THROW(unwrap(objects, KeyB), velk::secure_elt_err::RefDataNotFound);

    // The card may hold either key now, so even KeyA is unwrapped again.
    expectSecretKeyUnwrap(KeyA).answer({0x90, 0x00});
    expectPrivateKeyUnwrap();
    unwrap(objects, KeyA);
}

TEST_F(UnwrapTest, MissingPathSendsNothingElse) {
    test::expectSelect(card, 0x3F00, true);
    card.expect({0x00, 0xA4, 0x00, 0x00, 0x02, 0x43, 0x02, 0x09}).answer({0x6A, 0x82});
    EXPECT_EQ(
        test::thrownMessage<velk::secure_elt_err::FileNotFound>([&] { unwrap(objects, KeyA); }),
        "File not found");
}

}  // namespace
}  // namespace teappletlib::interchange::obj::driver::impl::cmd
