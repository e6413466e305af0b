#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <boost/optional.hpp>

#include "pavlenenabler/enabler/apdu_latencies.hpp"
#include "pavlenenabler/enabler/authentication_object.hpp"
#include "pavlenenabler/enabler/comm_stack.hpp"
#include "pavlenenabler/enabler/smartcard_cache_helper.hpp"
#include "pavlenenabler/iface/smartcard.hpp"
#include "sclib/smartcard.hpp"
#include "teappletlib/interchange/cmd/command_provider.hpp"
#include "teappletlib/interchange/obj/object_provider.hpp"

namespace pavlenenabler::enabler {

// The object of one accepted card. Every operation that talks to the card is one card
// transaction. It remembers the PIN of the last successful login and presents it again in every
// signing transaction. Host threads and the event thread call it at once: its operations run
// one at a time.
class Smartcard : public iface::Smartcard {
public:
    // Sends nothing to the card.
    Smartcard(std::unique_ptr<sclib::Smartcard> card, std::string readerName,
              AuthenticationObject authenticationObject);
    ~Smartcard() override;
    Smartcard(Smartcard const&) = delete;
    Smartcard& operator=(Smartcard const&) = delete;

    std::string getSerialNumber() override;
    std::string getTokenLabel() override;
    std::string getReaderName() override;
    boost::optional<iso7816::interchange::ChannelId> getChannelId() override;
    // The PIN is cached only when the card verified it; any other outcome leaves the card
    // object logged out.
    PinVerifyResult login(Pin const& pin) override;
    std::uint32_t getLoginTriesRemaining() override;
    // Forgets the PIN first, also when the card cannot be reached.
    void logout() override;
    bool changePin(Pin const& oldPin, Pin const& newPin) override;
    std::string getCertificate(iface::KeyCertType type) override;
    // The certificates without one of the three labels, in directory order, the first dropped.
    std::vector<std::string> getCertificateChain(iface::KeyCertType type) override;
    Bytes sign(iface::KeyCertType type, Bytes data) override;
    // PKCS#1 v1.5 decryption with the confidentiality key: the plaintext.
    Bytes decrypt(iface::KeyCertType type, Bytes data) override;

    // The latest duration per instruction of this card's commands.
    ApduLatencies const& getLatencies() const { return latencies_; }

private:
    using Work = std::function<void(teappletlib::interchange::obj::ObjectProvider&,
                                    teappletlib::interchange::cmd::CommandProvider&)>;

    // One transaction with a fresh per-operation cache and object layer.
    void perform_(Work const& work);
    boost::optional<std::string> getCertificate_(iface::KeyCertType type);
    Bytes cryptoOperation_(iface::KeyCertType type, Bytes const& data);

    ApduLatencies latencies_;
    std::unique_ptr<CommStack> commStack_;
    // Serialises the operations: they share the cached PIN and the directory cache.
    std::mutex operationMutex_;
    boost::optional<Pin> pin_;  // not fitted; empty: logged out
    std::string readerName_;
    AuthenticationObject authenticationObject_;
    std::unique_ptr<SmartcardCacheHelper> directoryCache_;
};

}  // namespace pavlenenabler::enabler
