#include "pavlenenabler/enabler/card_acceptance.hpp"

#include <utility>

#include "sclib/smartcard.hpp"
#include "velk/hex.hpp"

namespace pavlenenabler::enabler {

namespace {

using iso7816::interchange::Atr;

Atr const CardGen2Atr{"3BFD1800FF8131FE4543494247555A494A324130383158"_binstr};
Atr const CardGen3Atr{"3BDC18FF8191FE1FC3060A2B06010401E910050203D1"_binstr};
Atr const CardGen4Atr{"3BDC18FF8191FE1FC3060A2B06010401E910050204D6"_binstr};
Atr const PavlenSmartcard1Atr{"3BDC18FF8191FE1FC3060A2B06010401E910050601D7"_binstr};

}  // namespace

boost::optional<AuthenticationObject> authenticationObjectFor(Atr const& atr) {
    if (atr == CardGen2Atr) {
        return AuthenticationObject::CardGen2Pin;
    }
    if (atr == CardGen3Atr || atr == CardGen4Atr || atr == PavlenSmartcard1Atr) {
        return AuthenticationObject::CardGen3Pin;
    }
    return boost::none;
}

std::shared_ptr<Smartcard> acceptCard(sclib::Reader& reader) {
    std::unique_ptr<sclib::Smartcard> connection = reader.ConnectSmartcard();
    auto const pinObject = authenticationObjectFor(connection->getAtr());
    if (!pinObject) {
        return nullptr;
    }
    return std::make_shared<Smartcard>(std::move(connection), reader.GetName(), *pinObject);
}

}  // namespace pavlenenabler::enabler
