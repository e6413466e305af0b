#include "rsa_method.hpp"

#include <cstring>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

#include "engine_errors.hpp"
#include "velk/allocated_string.hpp"

namespace engine::detail {

namespace {

// What a card key was loaded from: the card object, and the card's serial number, which
// outlives that object across a re-insertion or a restart.
struct KeyOrigin {
    std::weak_ptr<pavlenenabler::iface::Smartcard> card;
    std::string serialNumber;
};

// Keys loaded from a card, by RSA object. The method's finish callback removes a key when
// OpenSSL frees it; a key that is not in here is not the card's.
class KeyRegistry {
public:
    void add(RSA const* rsa, KeyOrigin origin) {
        std::lock_guard<std::mutex> lock(mutex_);
        keys_[rsa] = std::move(origin);
    }

    void remove(RSA const* rsa) {
        std::lock_guard<std::mutex> lock(mutex_);
        keys_.erase(rsa);
    }

    // Empty for a key that no card issued.
    std::optional<KeyOrigin> find(RSA const* rsa) const {
        std::lock_guard<std::mutex> lock(mutex_);
        auto const entry = keys_.find(rsa);
        return entry != keys_.end() ? std::optional<KeyOrigin>(entry->second) : std::nullopt;
    }

private:
    mutable std::mutex mutex_;
    std::map<RSA const*, KeyOrigin> keys_;
};

KeyRegistry& keys() {
    // Never destroyed: a host may free a card key at exit after this library's statics are gone.
    static KeyRegistry* const registry = new KeyRegistry;
    return *registry;
}

// The card of a card key, checked against the current card: a key of a card that has gone or
// been swapped must never sign with another.
CardPtr cardForKey(KeyOrigin const& origin) {
    CardPtr const card = origin.card.lock();
    CardPtr const current = EngineState::instance().currentCard();
    if (!current) {
        raiseError(Reason::CardRemoved, "the card of this key is no longer present");
        return nullptr;
    }
    if (card == current) {
        return card;
    }
    // The same card, re-inserted or found again by a restarted engine, is a new card object.
    if (current->getSerialNumber() == origin.serialNumber) {
        raiseError(Reason::KeyOutdated,
                   "the card was inserted again or the engine restarted since it was loaded");
    } else {
        raiseError(Reason::CardChanged, "the key belongs to a card that is no longer current");
    }
    return nullptr;
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
    try {
        if (!keys().find(rsa)) {
            return RSA_meth_get_priv_dec(RSA_PKCS1_OpenSSL())(flen, from, to, rsa, padding);
        }
        raiseError(Reason::CardKeyDoesNotDecrypt, "the card's authentication key only signs");
    } catch (...) {
        raiseCurrentException();
    }
    return -1;
}

int rsaFinish(RSA* rsa) {
    try {
        keys().remove(rsa);
    } catch (...) {
        // Nothing may leave into OpenSSL; an entry left behind is never looked up again.
    }
    return 1;
}

}  // namespace

RSA_METHOD* enablerRsaMethod() {
    static RSA_METHOD* const method = [] {
        // No flags: every key made with this method inherits them, and with -engine that is
        // every RSA key of the host. A software key marked RSA_FLAG_EXT_PKEY is taken by
        // OpenSSL's own method for one with its prime factors. The card's key marks itself.
        RSA_METHOD* built = RSA_meth_new("Enabler", 0);
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
    keys().add(rsa, {card, card->getSerialNumber()});
}

}  // namespace engine::detail

extern "C" int rsa_enabler_priv_enc(int flen, unsigned char const* from, unsigned char* to,
                                    RSA* rsa, int padding) {
    using namespace engine::detail;
    try {
        auto const origin = keys().find(rsa);
        // With -engine every RSA key uses this method; only the card's keys go to the card.
        if (!origin) {
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
        CardPtr const card = cardForKey(*origin);
        return card ? signOnCard(card, flen, from, to, rsa) : -1;
    } catch (...) {
        raiseCurrentException();
        return -1;
    }
}
