#include "applet_commands_scenario.hpp"

#include <algorithm>

#include "cardlayer/rawtransmission/logger_provider.hpp"
#include "cardlayer/transmission/encoder_provider.hpp"
#include "teappletlib/interchange/cmd/impl/apdu/command_provider.hpp"
#include "testsupport/fuzz/documented_failures.hpp"

namespace teappletlib::fuzz {

namespace {

using namespace teappletlib::interchange;
using iso7816::interchange::DataTag;
using iso7816::interchange::FileId;
using iso7816::interchange::ShortFileId;
using testsupport::fuzz::tolerateDocumentedFailures;

// What the simulator's standard card holds, so that a recording of it answers with real data.
constexpr AuthObjectId Pin{3};
constexpr KeyId SigningKey{1};
constexpr KeyId DecipheringKey{2};
constexpr KeyId NewKey{9};
constexpr FileId CertificateDirectory{0x4404};
constexpr FileId TokenInfo{0x5032};
constexpr FileId NewFile{0x6001};
constexpr DataTag SerialNumber{0x0100};
constexpr DataTag ModelId{0x0101};
constexpr DataTag Capabilities{0x0105};
constexpr unsigned short SignatureInput = 32;
constexpr unsigned short KeyBits = 2048;
constexpr unsigned long RsaComponentLength = 256;

cmd::AccessControlCommands::Pin pinOf(char const* text) {
    return cmd::AccessControlCommands::Pin(text);
}

void runFileCommands(cmd::FileCommands& files) {
    tolerateDocumentedFailures([&] { (void)files.selectTessaroApplet(); });
    for (DataTag const tag : {SerialNumber, ModelId, Capabilities}) {
        tolerateDocumentedFailures([&] { (void)files.getData(tag); });
    }
    for (FileId const fid : {CertificateDirectory, TokenInfo}) {
        tolerateDocumentedFailures([&] {
            if (auto const info = files.selectFileWithInfo(fid)) {
                (void)files.readBinary(
                    0, std::min<unsigned long>(info->size, files.getMaxReadBinaryLength()));
            }
        });
    }
    tolerateDocumentedFailures([&] { (void)files.selectFile(TokenInfo); });
}

void runPinCommands(cmd::AccessControlCommands& pins) {
    tolerateDocumentedFailures([&] { (void)pins.getRetryCounter(Pin); });
    tolerateDocumentedFailures([&] { (void)pins.getRetryCounterChallengeResponse(Pin); });
    tolerateDocumentedFailures([&] { (void)pins.verifyPin(Pin); });
    tolerateDocumentedFailures([&] { (void)pins.verifyPin(Pin, pinOf("1234")); });
    tolerateDocumentedFailures([&] { (void)pins.changePin(Pin, pinOf("1234"), pinOf("1234")); });
}

void runCryptoCommands(cmd::CryptoCommands& crypto, cmd::FileCommands& files) {
    for (auto const component : {cmd::RsaComponent::Modulus, cmd::RsaComponent::PublicExponent}) {
        tolerateDocumentedFailures(
            [&] { (void)crypto.readComponent(component, SigningKey, RsaComponentLength); });
    }
    tolerateDocumentedFailures([&] {
        (void)files.updateBinaryShortFid(cmd::CryptoCommands::CryptoInputBufferShortFid,
                                         cmd::FileCommands::Data(SignatureInput, 0x5A), 0);
    });
    tolerateDocumentedFailures([&] { crypto.manageSecEnvSign(HashAlg::NoHash, SigningKey); });
    tolerateDocumentedFailures(
        [&] { (void)crypto.computeSignature(SignatureInput, crypto.getMaxExpectedLength()); });
    tolerateDocumentedFailures(
        [&] { crypto.manageSecEnvDecrypt(DecryptAlg::Ref02, DecipheringKey); });
    tolerateDocumentedFailures(
        [&] { (void)crypto.computeDecrypt(SignatureInput, crypto.getMaxExpectedLength()); });
}

// Administration answers little more than a status word, but each command maps its own.
void runAdministration(cmd::CommandProvider& commands) {
    auto& pins = commands.getAccessControlCommands();
    auto& crypto = commands.getCryptoCommands();
    auto& files = commands.getFileCommands();
    auto& aux = commands.getAuxCommands();
    tolerateDocumentedFailures([&] {
        (void)pins.createPin(PinLengthRange{4, 8}, 3, true, Acl::Anybody);
    });
    tolerateDocumentedFailures([&] { (void)pins.changePin(Pin, pinOf("4321")); });
    tolerateDocumentedFailures([&] { (void)pins.expirePin(Pin); });
    tolerateDocumentedFailures(
        [&] { (void)pins.deauthenticate(Pin, iso7816::interchange::ChannelId{1}); });
    tolerateDocumentedFailures([&] { (void)pins.deauthenticate(Pin); });
    tolerateDocumentedFailures([&] { (void)pins.deauthenticateAllChannels(Pin); });
    tolerateDocumentedFailures([&] {
        (void)crypto.createKeySlot(AsymAlg::Rsa, KeyBits, KeyControlFlags{}, Acl::Anybody,
                                   Acl::Anybody, true);
    });
    tolerateDocumentedFailures([&] { crypto.generateKeyPair(AsymAlg::Rsa, NewKey); });
    tolerateDocumentedFailures([&] {
        (void)crypto.unwrapPrivateKey(AsymAlg::Rsa, KeyControlFlags{}, Acl::Anybody, Acl::Anybody);
    });
    tolerateDocumentedFailures([&] { crypto.unwrapSecretKey(NewKey, 0, SignatureInput); });
    tolerateDocumentedFailures([&] { (void)crypto.deleteKey(NewKey, KeyPart::Both); });
    tolerateDocumentedFailures(
        [&] { files.createEf(NewFile, ShortFileId{0x10}, 16, Acl::Anybody, Acl::Anybody); });
    tolerateDocumentedFailures([&] { files.createDf(NewFile, 4, Acl::Anybody); });
    tolerateDocumentedFailures([&] { (void)files.resizeEf(32); });
    tolerateDocumentedFailures([&] { files.updateBinary(cmd::FileCommands::Data(4, 0x01), 0); });
    tolerateDocumentedFailures([&] { aux.setLifecycle(Lifecycle{0x07}); });
    tolerateDocumentedFailures([&] { pins.disableSecureMessaging(); });
}

}  // namespace

void runAppletCommands(iso7816::interchange::CardIo& card) {
    ::cardlayer::rawtransmission::LoggerProvider raw(card);
    ::cardlayer::transmission::EncoderProvider encoder(raw);
    cmd::impl::apdu::CommandProvider commands(encoder);
    runFileCommands(commands.getFileCommands());
    runPinCommands(commands.getAccessControlCommands());
    runCryptoCommands(commands.getCryptoCommands(), commands.getFileCommands());
    runAdministration(commands);
}

}  // namespace teappletlib::fuzz
