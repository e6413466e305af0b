#include "engine/exported_functions.hpp"

#include <cstdint>
#include <cstring>
#include <stdexcept>

#include "engine_state.hpp"
#include "velk/allocated_string.hpp"
#include "velk/erase_memory.hpp"
#include "velk/string_conversions.hpp"

using engine::detail::EngineState;
using pavlenenabler::iface::KeyCertType;

namespace {

// The layout that engine control command 205 and load_x509_cert fill.
struct CertificateRecord {
    char* text;
    std::uint32_t length;
};
static_assert(offsetof(CertificateRecord, length) == 8, "callers read the length at offset 8");

}  // namespace

extern "C" {

void enabler_init() {
    EngineState::instance().start();
}

bool wrapperLogin(char const* pin) {
    auto const card = EngineState::instance().requireCurrentCard();
    if (pin == nullptr) {
        return false;
    }
    velk::basic_allocated_string<char> const copy(pin, std::strlen(pin));
    try {
        return card->login(copy).verified;
    } catch (std::runtime_error const&) {
        return false;
    }
}

int smartcard_login(void*, void* p) {
    if (p == nullptr) {
        EngineState::instance().requireCurrentCard();
        return 0;
    }
    return wrapperLogin(*static_cast<char const* const*>(p)) ? 1 : 0;
}

void logout() {
    EngineState::instance().requireCurrentCard()->logout();
}

unsigned int getAuthenticationCertificate(char** out, unsigned int* length) {
    auto& state = EngineState::instance();
    auto const card = state.requireCurrentCard();
    if (out == nullptr || length == nullptr) {
        return 0;
    }
    std::string const text = state.pemOf(card);
    auto* buffer = new char[text.size() + 1]();
    std::memcpy(buffer, text.data(), text.size());
    *out = buffer;
    *length = static_cast<unsigned int>(text.size());
    return static_cast<unsigned int>(text.size());
}

int load_x509_cert(void*, void* record) {
    if (record == nullptr) {
        EngineState::instance().requireCurrentCard();
        return 0;
    }
    auto* target = static_cast<CertificateRecord*>(record);
    unsigned int length = 0;
    getAuthenticationCertificate(&target->text, &length);
    target->length = length;
    return 0;
}

bool sign(unsigned char* data, unsigned long length, unsigned char** out,
          unsigned long* outLength) {
    auto const card = EngineState::instance().requireCurrentCard();
    if ((data == nullptr && length != 0) || out == nullptr || outLength == nullptr) {
        return false;
    }
    try {
        // The block to be signed is the caller's secret as well: the copy erases it.
        auto signature = card->sign(KeyCertType::Authentication, velk::RawToErased(data, length));
        auto* buffer = new unsigned char[signature.size()]();
        std::memcpy(buffer, signature.data(), signature.size());
        *out = buffer;
        *outLength = signature.size();
        return true;
    } catch (std::runtime_error const&) {
        return false;
    }
}

}  // extern "C"

void checkSmartcard() {
    EngineState::instance().requireCurrentCard();
}

void cache_certificate() {
    auto& state = EngineState::instance();
    state.cachePem(state.requireCurrentCard());
}
