// Prints the PEM text of the card's authentication certificate, as the engine reads it, so that
// signatures made with the card can be checked with the openssl tool.
#include <openssl/engine.h>
#include <openssl/err.h>

#include <cstdint>
#include <cstdio>
#include <memory>

namespace {

// The record that the engine's LOAD_CERT_CTRL command fills.
struct CertificateRecord {
    char* text;
    std::uint32_t length;
};

struct EngineFree {
    void operator()(ENGINE* engine) const { ENGINE_free(engine); }
};

int fail(char const* what) {
    std::fprintf(stderr, "enabler_card_certificate: %s\n", what);
    ERR_print_errors_fp(stderr);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: enabler_card_certificate ENGINE_LIBRARY\n");
        return 2;
    }
    std::unique_ptr<ENGINE, EngineFree> const engine(ENGINE_by_id("dynamic"));
    if (!engine || ENGINE_ctrl_cmd_string(engine.get(), "SO_PATH", argv[1], 0) != 1 ||
        ENGINE_ctrl_cmd_string(engine.get(), "LOAD", nullptr, 0) != 1) {
        return fail("cannot load the engine");
    }
    if (ENGINE_init(engine.get()) == 0) {
        return fail("cannot initialise the engine");
    }
    int const command = ENGINE_ctrl(engine.get(), ENGINE_CTRL_GET_CMD_FROM_NAME, 0,
                                    const_cast<char*>("LOAD_CERT_CTRL"), nullptr);
    CertificateRecord record{nullptr, 0};
    if (command > 0) {
        ENGINE_ctrl(engine.get(), command, 0, &record, nullptr);
    }
    int result = 0;
    if (record.text == nullptr) {
        result = fail("no certificate from the card");
    } else {
        std::fwrite(record.text, 1, record.length, stdout);
        delete[] record.text;
    }
    ENGINE_finish(engine.get());
    return result;
}
