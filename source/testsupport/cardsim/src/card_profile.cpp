#include "testsupport/cardsim/card_profile.hpp"

#include "testsupport/cardsim/pkcs15_content.hpp"
#include "testsupport/cardsim/test_credentials.hpp"

namespace testsupport::cardsim {

CardProfile CardProfile::standard(CardType type) {
    TestCredentials const& credentials = TestCredentials::shared();
    CardProfile profile;
    profile.atr = atrOf(type);
    profile.pin.objectId = pinObjectOf(type);
    profile.keySlots.insert({1, KeySlot{credentials.key(1), true, false}});
    profile.keySlots.insert({2, KeySlot{credentials.key(2), false, true}});
    profile.keySlots.insert({3, KeySlot{credentials.key(3), true, false}});
    profile.files = buildPkcs15Files(Pkcs15Content::standard());
    profile.serialNumber = {0x00, 0x19, 0x00, 0x73, 0x52, 0x00, 0x64, 0x01};
    profile.modelId = {0x01, 0xA2};
    profile.capabilities.assign(28, false);
    profile.capabilities[16] = true;  // SHA-2
    return profile;
}

}  // namespace testsupport::cardsim
