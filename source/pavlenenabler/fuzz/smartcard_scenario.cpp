#include "smartcard_scenario.hpp"

#include <memory>

#include "pavlenenabler/enabler/smartcard.hpp"
#include "testsupport/fuzz/card_io_smartcard.hpp"
#include "testsupport/fuzz/documented_failures.hpp"

namespace pavlenenabler::fuzz {

namespace {

using enabler::Smartcard;
using iface::KeyCertType;
using testsupport::fuzz::tolerateDocumentedFailures;

// The PIN of the simulator's standard card, so that a recording of it signs.
constexpr char const* CardPin = "1234";
// A SHA-256 DigestInfo's length, and a cryptogram as long as the 2048-bit key's modulus.
constexpr std::size_t DigestInfoLength = 51;
constexpr std::size_t CryptogramLength = 256;

}  // namespace

void runSmartcard(iso7816::interchange::CardIo& card) {
    // Card acceptance reads the ATR before a card object exists; the object never does.
    Smartcard smartcard(
        std::make_unique<testsupport::fuzz::CardIoSmartcard>(card, iso7816::interchange::Atr({})),
        "Fuzzed reader", enabler::AuthenticationObject::CardGen3Pin);
    tolerateDocumentedFailures([&] { (void)smartcard.getSerialNumber(); });
    tolerateDocumentedFailures([&] { (void)smartcard.getTokenLabel(); });
    tolerateDocumentedFailures([&] { (void)smartcard.getLoginTriesRemaining(); });
    for (auto const type :
         {KeyCertType::Authentication, KeyCertType::Confidentiality, KeyCertType::Signature}) {
        tolerateDocumentedFailures([&] { (void)smartcard.getCertificate(type); });
    }
    tolerateDocumentedFailures(
        [&] { (void)smartcard.getCertificateChain(KeyCertType::Authentication); });
    tolerateDocumentedFailures([&] { (void)smartcard.login(Smartcard::Pin(CardPin)); });
    tolerateDocumentedFailures([&] {
        (void)smartcard.sign(KeyCertType::Signature, Smartcard::Bytes(DigestInfoLength, 0x3C));
    });
    tolerateDocumentedFailures([&] {
        (void)smartcard.decrypt(KeyCertType::Confidentiality,
                                Smartcard::Bytes(CryptogramLength, 0x2A));
    });
    tolerateDocumentedFailures(
        [&] { (void)smartcard.changePin(Smartcard::Pin(CardPin), Smartcard::Pin(CardPin)); });
    tolerateDocumentedFailures([&] { smartcard.logout(); });
}

}  // namespace pavlenenabler::fuzz
