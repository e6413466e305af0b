#include "card_operations.hpp"

#include <openssl/bio.h>
#include <openssl/pem.h>
#include <openssl/x509.h>

#include <memory>
#include <stdexcept>

#include "engine/exported_functions.hpp"
#include "testsupport/cardsim/test_credentials.hpp"

namespace engine::stress {
namespace {

using testsupport::cardsim::ByteVector;
using testsupport::cardsim::TestCredentials;

constexpr char const* Pin = "1234";
constexpr std::uint8_t AuthenticationSlot = 1;

// A SHA-256 DigestInfo, as OpenSSL hands it to the engine; the hash bytes are arbitrary.
ByteVector digestInfo() {
    ByteVector block{0x30, 0x31, 0x30, 0x0D, 0x06, 0x09, 0x60, 0x86, 0x48, 0x01,
                     0x65, 0x03, 0x04, 0x02, 0x01, 0x05, 0x00, 0x04, 0x20};
    block.insert(block.end(), 32, 0x5A);
    return block;
}

ByteVector const Block = digestInfo();

// The authentication certificate as OpenSSL writes it in PEM.
std::string expectedPem() {
    ByteVector const& der = TestCredentials::shared().certificate(AuthenticationSlot);
    unsigned char const* cursor = der.data();
    std::unique_ptr<X509, decltype(&X509_free)> const certificate(
        d2i_X509(nullptr, &cursor, static_cast<long>(der.size())), X509_free);
    std::unique_ptr<BIO, decltype(&BIO_free)> const out(BIO_new(BIO_s_mem()), BIO_free);
    char* text = nullptr;
    if (!certificate || !out || PEM_write_bio_X509(out.get(), certificate.get()) != 1) {
        throw std::runtime_error("cannot write the test certificate as PEM");
    }
    long const length = BIO_get_mem_data(out.get(), &text);
    return std::string(text, static_cast<std::size_t>(length));
}

// PKCS#1 v1.5 signatures are deterministic: the card's must be this one.
ByteVector expectedSignature() {
    auto signature =
        TestCredentials::shared().key(AuthenticationSlot).signBlock(Block.data(), Block.size());
    if (!signature) {
        throw std::runtime_error("the test key does not sign the block");
    }
    return *signature;
}

Outcome readCertificate() {
    static std::string const expected = expectedPem();
    char* text = nullptr;
    unsigned int length = 0;
    unsigned int const copied = getAuthenticationCertificate(&text, &length);
    std::unique_ptr<char[]> const owned(text);
    if (text == nullptr || copied != length || std::string(text, length) != expected) {
        return {Ending::Fault, "not the authentication certificate"};
    }
    return {Ending::Result, {}};
}

Outcome signBlock() {
    static ByteVector const expected = expectedSignature();
    ByteVector input = Block;
    unsigned char* signature = nullptr;
    unsigned long length = 0;
    if (!sign(input.data(), input.size(), &signature, &length)) {
        return {Ending::Refused, {}};
    }
    std::unique_ptr<unsigned char[]> const owned(signature);
    if (signature == nullptr || ByteVector(signature, signature + length) != expected) {
        return {Ending::Fault, "not the signature of the authentication key"};
    }
    return {Ending::Result, {}};
}

}  // namespace

char const* nameOf(Operation operation) {
    switch (operation) {
        case Operation::Login:
            return "login";
        case Operation::Certificate:
            return "certificate";
        case Operation::Sign:
            return "sign";
    }
    return "?";
}

char const* nameOf(Ending ending) {
    switch (ending) {
        case Ending::Result:
            return "result";
        case Ending::Refused:
            return "refused";
        case Ending::CardError:
            return "card error";
        case Ending::NoCard:
            return "no card";
        case Ending::Fault:
            return "FAULT";
    }
    return "?";
}

Outcome perform(Operation operation) {
    try {
        switch (operation) {
            case Operation::Login:
                return {wrapperLogin(Pin) ? Ending::Result : Ending::Refused, {}};
            case Operation::Certificate:
                return readCertificate();
            case Operation::Sign:
                return signBlock();
        }
        return {Ending::Fault, "unknown operation"};
    } catch (std::invalid_argument* noCard) {
        delete noCard;
        return {Ending::NoCard, {}};
    } catch (std::runtime_error const& e) {
        return {Ending::CardError, e.what()};
    } catch (std::exception const& e) {
        return {Ending::Fault, std::string("unexpected exception: ") + e.what()};
    } catch (...) {
        return {Ending::Fault, "exception of an unknown type"};
    }
}

}  // namespace engine::stress
