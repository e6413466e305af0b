#include <cstdint>
#include <cstring>
#include <string>

#include <openssl/engine.h>

#include "engine/exported_functions.hpp"
#include "engine_errors.hpp"
#include "engine_state.hpp"
#include "key_loaders.hpp"
#include "rsa_method.hpp"
#include "velk/allocated_string.hpp"
#include "velk/exceptions.hpp"

using namespace engine::detail;

namespace {

char const EngineId[] = "Enabler";
char const EngineName[] = "Enabler engine by Velk";

enum Command : unsigned int {
    SoPath = 200,
    ModulePath = 201,
    Pin = 202,
    Verbose = 203,
    Quiet = 204,
    LoadCertCtrl = 205,
    InitArgs = 206,
    SetUserInterface = 207,
    SetCallbackData = 208,
    ForceLogin = 209,
};

// Hosts pass all of these; only PIN and LOAD_CERT_CTRL do anything. The others succeed without
// effect: the openssl tool passes SET_USER_INTERFACE to every engine given by -engine and
// refuses the engine when that fails.
ENGINE_CMD_DEFN const engine_cmd_defns[] = {
    {SoPath, "SO_PATH", "Specifies the path to the 'pkcs11' engine shared library",
     ENGINE_CMD_FLAG_STRING},
    {ModulePath, "MODULE_PATH", "Specifies the path to the PKCS#11 module shared library",
     ENGINE_CMD_FLAG_STRING},
    {Pin, "PIN", "Specifies the pin code", ENGINE_CMD_FLAG_STRING},
    {Verbose, "VERBOSE", "Print additional details", ENGINE_CMD_FLAG_NO_INPUT},
    {Quiet, "QUIET", "Remove additional details", ENGINE_CMD_FLAG_NO_INPUT},
    {LoadCertCtrl, "LOAD_CERT_CTRL", "Get the certificate from card", ENGINE_CMD_FLAG_INTERNAL},
    {InitArgs, "INIT_ARGS", "Specifies additional initialization arguments to the PKCS#11 module",
     ENGINE_CMD_FLAG_STRING},
    {SetUserInterface, "SET_USER_INTERFACE", "Set the global user interface (internal)",
     ENGINE_CMD_FLAG_INTERNAL},
    {SetCallbackData, "SET_CALLBACK_DATA", "Set the global user interface extra data (internal)",
     ENGINE_CMD_FLAG_INTERNAL},
    {ForceLogin, "FORCE_LOGIN", "Force login to the PKCS#11 module", ENGINE_CMD_FLAG_NO_INPUT},
    {0, nullptr, nullptr, 0},
};

// OpenSSL's string path (ENGINE_ctrl_cmd_string, -pre PIN:..., an openssl.cnf PIN line) hands
// over the PIN text itself.
int loginWithPin(char const* pinText) {
    if (pinText == nullptr) {
        raiseError(Reason::NullArgument, "no PIN");
        return 0;
    }
    velk::basic_allocated_string<char> const pin(pinText);
    auto& state = EngineState::instance();
    CardPtr const card = state.requireCurrentCard();
    Reason reason = Reason::PinBlocked;
    std::string detail;
    std::uint32_t triesRemaining = 0;
    try {
        auto const result = card->login(pin);
        if (result.verified) {
            state.notePinAccepted();
            return 1;
        }
        triesRemaining = result.triesRemaining;
        if (triesRemaining != 0) {
            reason = Reason::WrongPin;
            detail =
                triesRemaining == 1 ? "1 try left" : std::to_string(triesRemaining) + " tries left";
        }
    } catch (velk::secure_elt_err::AuthMethodBlocked const& e) {
        detail = e.what();
    }
    state.notePinRefused(card, reason, detail, triesRemaining);
    raiseError(reason, detail);
    return 0;
}

int engine_init(ENGINE*) {
    try {
        enabler_init();
        return 786;
    } catch (...) {
        raiseCurrentException();
        return 0;
    }
}

// Stops event delivery before OpenSSL lets go of the engine, so that the event thread never
// calls into a library that is being unloaded.
int engine_finish(ENGINE*) {
    EngineState::stopIfAlive();
    return 1;
}

int engine_ctrl(ENGINE*, int cmd, long, void* p, void (*)(void)) {
    try {
        switch (cmd) {
            case Pin:
                return loginWithPin(static_cast<char const*>(p));
            case LoadCertCtrl:
                if (p == nullptr) {
                    raiseError(Reason::NullArgument, "no certificate record");
                    return 0;
                }
                return load_x509_cert(nullptr, p);
            case SoPath:
            case ModulePath:
            case Verbose:
            case Quiet:
            case InitArgs:
            case SetUserInterface:
            case SetCallbackData:
            case ForceLogin:
                return 1;
            default:
                return 0;
        }
    } catch (...) {
        raiseCurrentException();
        return 0;
    }
}

}  // namespace

extern "C" {

int bind_helper(ENGINE* e) {
    RSA_METHOD* const method = enablerRsaMethod();
    try {
        loadErrorStrings();
    } catch (...) {
        // Registering the texts once may fail to lock; OpenSSL then prints bare error codes.
    }
    if (method == nullptr || !ENGINE_set_id(e, EngineId) || !ENGINE_set_name(e, EngineName) ||
        !ENGINE_set_cmd_defns(e, engine_cmd_defns) || !ENGINE_set_init_function(e, engine_init) ||
        !ENGINE_set_finish_function(e, engine_finish) ||
        !ENGINE_set_destroy_function(e, engine_finish) || !ENGINE_set_RSA(e, method) ||
        !ENGINE_set_load_privkey_function(e, load_privKey) ||
        !ENGINE_set_load_pubkey_function(e, load_pubKey) ||
        !ENGINE_set_ctrl_function(e, engine_ctrl)) {
        return 0;
    }
    return 1;
}

__attribute__((visibility("default"))) unsigned long v_check(unsigned long version) {
    return version >= OSSL_DYNAMIC_OLDEST ? OSSL_DYNAMIC_OLDEST : 0;
}

__attribute__((visibility("default"))) int bind_engine(ENGINE* e, char const*,
                                                       dynamic_fns const* fns) {
    // A host with its own copy of libcrypto hands over its allocator.
    if (ENGINE_get_static_state() != fns->static_state) {
        CRYPTO_set_mem_functions(fns->mem_fns.malloc_fn, fns->mem_fns.realloc_fn,
                                 fns->mem_fns.free_fn);
    }
    return bind_helper(e);
}

}  // extern "C"
