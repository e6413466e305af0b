// One card signature through the engine, the card manager, the transmission stack and the
// in-memory card service, set against the simulator's own RSA work for that signature and
// OpenSSL's software RSA-2048 signature; a summary after the runs gives the stack's overhead.
//
//     engine_signature_benchmark --benchmark_repetitions=5
#include <benchmark/benchmark.h>
#include <openssl/engine.h>
#include <openssl/err.h>
#include <openssl/evp.h>

#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>

#include "cardservice/memory/memory_service.hpp"
#include "summary_reporter.hpp"
#include "testsupport/cardsim/card_profile.hpp"
#include "testsupport/cardsim/card_simulator.hpp"
#include "testsupport/cardsim/test_credentials.hpp"

namespace {

using engine::bench::SummaryReporter;
using testsupport::cardsim::ByteVector;
using testsupport::cardsim::CardProfile;
using testsupport::cardsim::CardSimulator;
using testsupport::cardsim::RsaKey;
using testsupport::cardsim::TestCredentials;

constexpr char const* ReaderName = "Reader 1";
constexpr char const* Pin = "1234";
constexpr unsigned char AuthenticationSlot = 1;
std::string const Message = "one message, hashed with SHA-256 and signed again and again";

std::string openSslError() {
    char text[256] = "no OpenSSL error";
    unsigned long const code = ERR_get_error();
    if (code != 0) {
        ERR_error_string_n(code, text, sizeof text);
    }
    ERR_clear_error();
    return text;
}

// A SHA-256 PKCS#1 v1.5 signature of Message; empty when OpenSSL refuses.
ByteVector signMessage(EVP_PKEY* key) {
    std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(),
                                                                    EVP_MD_CTX_free);
    ByteVector signature(static_cast<std::size_t>(EVP_PKEY_get_size(key)));
    std::size_t length = signature.size();
    if (!context || EVP_DigestSignInit(context.get(), nullptr, EVP_sha256(), nullptr, key) != 1 ||
        EVP_DigestSign(context.get(), signature.data(), &length,
                       reinterpret_cast<unsigned char const*>(Message.data()),
                       Message.size()) != 1) {
        return {};
    }
    signature.resize(length);
    return signature;
}

// What the engine hands the card to sign for Message: the DigestInfo of its SHA-256 hash.
ByteVector digestInfo() {
    ByteVector block{0x30, 0x31, 0x30, 0x0D, 0x06, 0x09, 0x60, 0x86, 0x48, 0x01,
                     0x65, 0x03, 0x04, 0x02, 0x01, 0x05, 0x00, 0x04, 0x20};
    unsigned char hash[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_Digest(Message.data(), Message.size(), hash, &length, EVP_sha256(), nullptr) != 1) {
        throw std::runtime_error("SHA-256: " + openSslError());
    }
    block.insert(block.end(), hash, hash + length);
    return block;
}

// The engine loaded through OpenSSL's dynamic loader, as a host loads it, over the in-memory
// card service with one reader holding a standard card; logged in, with the card's key loaded.
class CardStack {
public:
    CardStack() : card_(std::make_shared<CardSimulator>(CardProfile::standard())) {
        cardservice::memory::reset();
        cardservice::memory::addReader(ReaderName);
        cardservice::memory::insertCard(ReaderName, card_);
        engine_ = ENGINE_by_id("dynamic");
        if (engine_ == nullptr ||
            ENGINE_ctrl_cmd_string(engine_, "SO_PATH", VELK_ENGINE_PATH, 0) != 1 ||
            ENGINE_ctrl_cmd_string(engine_, "LOAD", nullptr, 0) != 1) {
            fail("loading the engine");
        }
        if (ENGINE_init(engine_) == 0) {
            fail("starting the engine");
        }
        initialised_ = true;
        if (ENGINE_ctrl_cmd_string(engine_, "PIN", Pin, 0) != 1) {
            fail("logging in");
        }
        key_ = ENGINE_load_private_key(engine_, "authentication", nullptr, nullptr);
        if (key_ == nullptr) {
            fail("loading the card's key");
        }
    }

    ~CardStack() { release(); }
    CardStack(CardStack const&) = delete;
    CardStack& operator=(CardStack const&) = delete;

    EVP_PKEY* key() const { return key_; }
    CardSimulator& card() const { return *card_; }

private:
    [[noreturn]] void fail(std::string const& step) {
        std::string const reason = step + ": " + openSslError();
        release();
        throw std::runtime_error(reason);
    }

    void release() {
        EVP_PKEY_free(key_);
        key_ = nullptr;
        if (initialised_) {
            ENGINE_finish(engine_);
            initialised_ = false;
        }
        ENGINE_free(engine_);
        engine_ = nullptr;
        cardservice::memory::reset();
    }

    std::shared_ptr<CardSimulator> card_;
    ENGINE* engine_ = nullptr;
    bool initialised_ = false;
    EVP_PKEY* key_ = nullptr;
};

void stackSignature(benchmark::State& state, CardStack const* stack) {
    stack->card().clearLog();
    for (auto _ : state) {
        if (signMessage(stack->key()).empty()) {
            state.SkipWithError(("the stack did not sign: " + openSslError()).c_str());
            break;
        }
    }
    state.counters[engine::bench::ApdusCounter] = benchmark::Counter(
        static_cast<double>(stack->card().log().size()), benchmark::Counter::kAvgIterations);
}

void simulatorRsa(benchmark::State& state, RsaKey const* key, ByteVector const* block) {
    for (auto _ : state) {
        if (!key->signBlock(block->data(), block->size())) {
            state.SkipWithError("the simulator's key did not sign");
            break;
        }
    }
}

void softwareRsa(benchmark::State& state, EVP_PKEY* key) {
    for (auto _ : state) {
        if (signMessage(key).empty()) {
            state.SkipWithError(("software signing failed: " + openSslError()).c_str());
            break;
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    // libcrypto first: the card service's worker thread signs for the simulated card, and a
    // service made before libcrypto would outlive libcrypto's clean-up at exit.
    OPENSSL_init_crypto(OPENSSL_INIT_ENGINE_DYNAMIC, nullptr);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 2;
    }
    try {
        RsaKey const& cardKey = TestCredentials::shared().key(AuthenticationSlot);
        ByteVector const block = digestInfo();
        CardStack const stack;
        // PKCS#1 v1.5 signatures are deterministic: all three must produce the same bytes, or
        // they would not measure the same work.
        ByteVector const viaStack = signMessage(stack.key());
        if (viaStack.empty() || cardKey.signBlock(block.data(), block.size()) != viaStack ||
            signMessage(cardKey.get()) != viaStack) {
            std::cerr << "the stack, the simulator and the software key sign differently\n";
            return 1;
        }
        // The card's key is an RSA-2048 key: in software it is the reference signature.
        if (EVP_PKEY_get_bits(cardKey.get()) != 2048) {
            std::cerr << "the card's key is not an RSA-2048 key\n";
            return 1;
        }
        benchmark::RegisterBenchmark(engine::bench::StackSignature, stackSignature, &stack)
            ->Unit(benchmark::kMicrosecond)
            ->UseRealTime()
            ->MeasureProcessCPUTime();
        benchmark::RegisterBenchmark(engine::bench::SimulatorRsa, simulatorRsa, &cardKey, &block)
            ->Unit(benchmark::kMicrosecond)
            ->UseRealTime()
            ->MeasureProcessCPUTime();
        benchmark::RegisterBenchmark(engine::bench::SoftwareRsa2048, softwareRsa, cardKey.get())
            ->Unit(benchmark::kMicrosecond)
            ->UseRealTime()
            ->MeasureProcessCPUTime();
        SummaryReporter reporter;
        benchmark::RunSpecifiedBenchmarks(&reporter);
        benchmark::Shutdown();
        return reporter.printSummary(std::cout) ? 0 : 1;
    } catch (std::exception const& e) {
        std::cerr << e.what() << '\n';
        return 1;
    }
}
