#include "pavlenenabler/enabler/card_acceptance.hpp"

#include <utility>

#include "sclib/exceptions.hpp"
#include "velk/hex.hpp"

namespace pavlenenabler::enabler {

namespace {

using iso7816::interchange::Atr;

Atr const CardGen2Atr{"3BFD1800FF8131FE4543494247555A494A324130383158"_binstr};
Atr const CardGen3Atr{"3BDC18FF8191FE1FC3060A2B06010401E910050203D1"_binstr};
Atr const CardGen4Atr{"3BDC18FF8191FE1FC3060A2B06010401E910050204D6"_binstr};
Atr const PavlenSmartcard1Atr{"3BDC18FF8191FE1FC3060A2B06010401E910050601D7"_binstr};

}  // namespace

void CardConnection::transaction(TransactionBody body) {
    std::lock_guard<std::mutex> lock(mutex_);
    card_->transaction([&](cardlayer::smartcard::SmartcardProvider& provider, bool wasReset) {
        bool const reset = wasReset || resetNotPassedOn_;
        resetNotPassedOn_ = false;
        body(provider, reset);
    });
}

bool CardConnection::isStillInReader() {
    std::lock_guard<std::mutex> lock(mutex_);
    try {
        card_->transaction([this](cardlayer::smartcard::SmartcardProvider&, bool wasReset) {
            resetNotPassedOn_ = resetNotPassedOn_ || wasReset;
        });
        return true;
    } catch (sclib::NoSmartcardError const&) {
        return false;
    } catch (sclib::ReaderInvalidError const&) {
        return false;
    }
}

boost::optional<AuthenticationObject> authenticationObjectFor(Atr const& atr) {
    if (atr == CardGen2Atr) {
        return AuthenticationObject::CardGen2Pin;
    }
    if (atr == CardGen3Atr || atr == CardGen4Atr || atr == PavlenSmartcard1Atr) {
        return AuthenticationObject::CardGen3Pin;
    }
    return boost::none;
}

AcceptedCard acceptCard(sclib::Reader& reader) {
    auto connection = std::make_unique<CardConnection>(reader.ConnectSmartcard());
    auto const pinObject = authenticationObjectFor(connection->getAtr());
    if (!pinObject) {
        return {};
    }
    AcceptedCard accepted;
    accepted.connection = connection.get();
    accepted.card =
        std::make_shared<Smartcard>(std::move(connection), reader.GetName(), *pinObject);
    return accepted;
}

}  // namespace pavlenenabler::enabler
