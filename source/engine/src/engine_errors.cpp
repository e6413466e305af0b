#include "engine_errors.hpp"

#include <mutex>
#include <stdexcept>

#include <openssl/err.h>

#include "card_service_diagnosis.hpp"
#include "engine_state.hpp"
#include "sclib/exceptions.hpp"
#include "velk/exceptions.hpp"

namespace engine::detail {

namespace {

int library() {
    static int const code = ERR_get_next_error_library();
    return code;
}

unsigned long packed(Reason reason) {
    return ERR_PACK(library(), 0, static_cast<int>(reason));
}

}  // namespace

void loadErrorStrings() {
    static std::once_flag once;
    std::call_once(once, [] {
        // OpenSSL keeps pointers to these entries, so they live as long as the process.
        static ERR_STRING_DATA strings[] = {
            {ERR_PACK(library(), 0, 0), "Enabler engine"},
            {packed(Reason::NoCard), "no card found"},
            {packed(Reason::CardServiceUnavailable), "card service not available"},
            {packed(Reason::WrongPin), "wrong PIN"},
            {packed(Reason::PinBlocked), "PIN blocked"},
            {packed(Reason::NotLoggedIn), "no PIN given for the card"},
            {packed(Reason::CardChanged), "card changed"},
            {packed(Reason::CardRemoved), "card removed"},
            {packed(Reason::CardError), "card operation failed"},
            {packed(Reason::UnsupportedPadding), "only PKCS#1 v1.5 padding is supported"},
            {packed(Reason::SignatureTooLong), "card signature longer than the key"},
            {packed(Reason::CertificateUnreadable), "card certificate unreadable"},
            {packed(Reason::NullArgument), "null argument"},
            {packed(Reason::CardKeyDoesNotDecrypt), "the card's key does not decrypt"},
            {packed(Reason::Internal), "unexpected error"},
            {packed(Reason::NoReader), "no card reader found"},
            {packed(Reason::NoCardInReader), "no card in reader"},
            {packed(Reason::CardNotSupported), "card not supported"},
            {packed(Reason::ReaderFailed), "card reader failed"},
            {packed(Reason::KeyOutdated), "key must be loaded again"},
            {0, nullptr},
        };
        ERR_load_strings(library(), strings);
    });
}

void raiseError(Reason reason, std::string const& detail) {
    loadErrorStrings();
    ERR_raise_data(library(), static_cast<int>(reason), "%s", detail.c_str());
}

void raiseCurrentException() noexcept {
    try {
        try {
            throw;
        } catch (std::invalid_argument* noCard) {
            delete noCard;
            EngineState::instance().raiseNoCardError();
        } catch (velk::AuthenticationRequired const& e) {
            if (!EngineState::instance().raisePinRefusal()) {
                raiseError(Reason::NotLoggedIn, e.what());
            }
        } catch (velk::secure_elt_err::AuthMethodBlocked const& e) {
            raiseError(Reason::PinBlocked, e.what());
        } catch (sclib::NoSmartcardError const& e) {
            raiseError(Reason::CardRemoved, e.what());
        } catch (velk::EnvironmentError const& e) {
            raiseError(Reason::CardServiceUnavailable, describeUnavailableCardService(e.what()));
        } catch (std::exception const& e) {
            raiseError(Reason::CardError, e.what());
        } catch (...) {
            raiseError(Reason::Internal);
        }
    } catch (...) {
        // Reporting must not throw into OpenSSL's C frames; the caller still returns failure.
    }
}

}  // namespace engine::detail
