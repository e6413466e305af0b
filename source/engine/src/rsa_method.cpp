#include "rsa_method.hpp"

#include <cstring>
#include <map>
#include <mutex>

#include "engine_errors.hpp"
#include "velk/allocated_string.hpp"

namespace engine::detail {

namespace {

// Keys loaded from a card, by RSA object. The method's finish callback removes a key when
// OpenSSL frees it; a key that is not in here is not the card's.
class KeyRegistry {
public:
    void add(RSA const* rsa, CardPtr const& card) {
        std::lock_guard<std::mutex> lock(mutex_);
        keys_[rsa] = card;
    }

    void remove(RSA const* rsa) {
        std::lock_guard<std::mutex> lock(mutex_);
        keys_.erase(rsa);
    }

    // found is false for a key that no card issued.
    std::weak_ptr<pavlenenabler::iface::Smartcard> find(RSA const* rsa, bool& found) const {
        std::lock_guard<std::mutex> lock(mutex_);
        auto const entry = keys_.find(rsa);
        found = entry != keys_.end();
        return found ? entry->second : std::weak_ptr<pavlenenabler::iface::Smartcard>();
    }

private:
    mutable std::mutex mutex_;
    std::map<RSA const*, std::weak_ptr<pavlenenabler::iface::Smartcard>> keys_;
};

KeyRegistry& keys() {
    static KeyRegistry registry;
    return registry;
}

// The card of a card key, checked against the current card: a key of a card that has gone or
// been swapped must never sign with another.
CardPtr cardForKey(std::weak_ptr<pavlenenabler::iface::Smartcard> const& boundCard) {
    CardPtr const card = boundCard.lock();
    CardPtr const current = EngineState::instance().currentCard();
    if (!current) {
        raiseError(Reason::CardRemoved, "the card of this key is no longer present");
        return nullptr;
    }
    if (card != current) {
        raiseError(Reason::CardChanged, "the key belongs to a card that is no longer current");
        return nullptr;
    }
    return card;
}

int signOnCard(CardPtr const& card, int flen, unsigned char const* from, unsigned char* to,
               RSA* rsa) {
    auto const signature =
        card->sign(pavlenenabler::iface::KeyCertType::Authentication,
                   velk::basic_allocated_string<unsigned char>(from, static_cast<size_t>(flen)));
    // OpenSSL gives room for RSA_size bytes only.
    if (signature.size() > static_cast<size_t>(RSA_size(rsa))) {
        raiseError(Reason::SignatureTooLong);
        return -1;
    }
    std::memcpy(to, signature.data(), signature.size());
    return static_cast<int>(signature.size());
}

int rsaPrivateDecrypt(int flen, unsigned char const* from, unsigned char* to, RSA* rsa,
                      int padding) {
    bool isCardKey = false;
    keys().find(rsa, isCardKey);
    if (!isCardKey) {
        return RSA_meth_get_priv_dec(RSA_PKCS1_OpenSSL())(flen, from, to, rsa, padding);
    }
    raiseError(Reason::KeyNotOnCard, "decryption with the card's authentication key");
    return -1;
}

int rsaFinish(RSA* rsa) {
    keys().remove(rsa);
    return 1;
}

}  // namespace

RSA_METHOD* enablerRsaMethod() {
    static RSA_METHOD* const method = [] {
        RSA_METHOD* built = RSA_meth_new("Enabler", RSA_FLAG_EXT_PKEY);
        if (built == nullptr) {
            return built;
        }
        RSA_METHOD const* software = RSA_PKCS1_OpenSSL();
        if (RSA_meth_set_priv_enc(built, rsa_enabler_priv_enc) != 1 ||
            RSA_meth_set_priv_dec(built, rsaPrivateDecrypt) != 1 ||
            RSA_meth_set_finish(built, rsaFinish) != 1 ||
            RSA_meth_set_pub_enc(built, RSA_meth_get_pub_enc(software)) != 1 ||
            RSA_meth_set_pub_dec(built, RSA_meth_get_pub_dec(software)) != 1 ||
            RSA_meth_set_mod_exp(built, RSA_meth_get_mod_exp(software)) != 1 ||
            RSA_meth_set_bn_mod_exp(built, RSA_meth_get_bn_mod_exp(software)) != 1) {
            RSA_meth_free(built);
            return static_cast<RSA_METHOD*>(nullptr);
        }
        return built;
    }();
    return method;
}

void bindKeyToCard(RSA const* rsa, CardPtr const& card) {
    keys().add(rsa, card);
}

}  // namespace engine::detail

extern "C" int rsa_enabler_priv_enc(int flen, unsigned char const* from, unsigned char* to,
                                    RSA* rsa, int padding) {
    using namespace engine::detail;
    try {
        bool isCardKey = false;
        auto const boundCard = keys().find(rsa, isCardKey);
        // With -engine every RSA key uses this method; only the card's keys go to the card.
        if (!isCardKey) {
            return RSA_meth_get_priv_enc(RSA_PKCS1_OpenSSL())(flen, from, to, rsa, padding);
        }
        // The card pads with PKCS#1 v1.5 itself: any other block would come back wrongly signed.
        if (padding != RSA_PKCS1_PADDING) {
            raiseError(Reason::UnsupportedPadding);
            return -1;
        }
        if (from == nullptr || to == nullptr || flen < 0) {
            raiseError(Reason::NullArgument);
            return -1;
        }
        CardPtr const card = cardForKey(boundCard);
        return card ? signOnCard(card, flen, from, to, rsa) : -1;
    } catch (...) {
        raiseCurrentException();
        return -1;
    }
}
