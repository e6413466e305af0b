#pragma once

#include <gtest/gtest.h>
#include <openssl/engine.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "current_card_wait.hpp"
#include "testsupport/cardsim/card_simulator.hpp"

namespace engine::test {

using CardPtr = std::shared_ptr<testsupport::cardsim::CardSimulator>;

struct PkeyFree {
    void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
using PkeyPtr = std::unique_ptr<EVP_PKEY, PkeyFree>;

constexpr char const* ReaderName = "Reader 1";
constexpr char const* Pin = "1234";

// Waits until the card has answered nothing new for a while: the engine's event thread reads
// the certificate of a card it reports as inserted.
bool waitUntilCardIsQuiet(testsupport::cardsim::CardSimulator const& card);

// Reason and data of the oldest error on this thread's queue, which is then cleared.
std::string takeErrorText();
// Reason and data of every error on this thread's queue, oldest first; the queue is emptied.
std::vector<std::string> takeErrorTexts();

CardPtr newCard();
// A standard card with a serial number of its own: another card than newCard()'s.
CardPtr otherCard();

// A SHA-256 PKCS#1 v1.5 signature of message with key; empty on failure.
std::string signMessage(EVP_PKEY* key, std::string const& message);
// Whether signature verifies against the card's authentication certificate.
bool verifiesWithCardCertificate(std::string const& message, std::string const& signature);

// The engine loaded through OpenSSL's dynamic loader, over the in-memory card service with one
// reader holding a standard card.
class EngineTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    void initEngine();
    PkeyPtr loadPrivateKey();

    ENGINE* engine_ = nullptr;
    bool initialised_ = false;
    CardPtr card_;
};

}  // namespace engine::test
