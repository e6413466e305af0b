#include <openssl/engine.h>
#include <openssl/err.h>

#include <atomic>
#include <future>
#include <stdexcept>
#include <thread>
#include <vector>

#include "cardservice/memory/memory_service.hpp"
#include "engine/exported_functions.hpp"
#include "engine_fixture.hpp"

namespace engine::test {
namespace {

std::string const Message = "signed by many threads";

TEST_F(EngineTest, EightThreadsSignAtOnceAndEverySignatureVerifies) {
    initEngine();
    ASSERT_EQ(ENGINE_ctrl_cmd_string(engine_, "PIN", Pin, 0), 1);
    PkeyPtr const key = loadPrivateKey();
    ASSERT_TRUE(key);

    std::vector<std::future<int>> workers;
    for (int thread = 0; thread < 8; ++thread) {
        workers.push_back(std::async(std::launch::async, [&key] {
            int valid = 0;
            for (int round = 0; round < 5; ++round) {
                valid += verifiesWithCardCertificate(Message, signMessage(key.get(), Message));
            }
            ERR_clear_error();
            return valid;
        }));
    }
    for (auto& worker : workers) {
        ASSERT_EQ(worker.wait_for(std::chrono::seconds(60)), std::future_status::ready);
        EXPECT_EQ(worker.get(), 5);
    }
}

// The engine's own init and finish, wrapped to count how often OpenSSL really calls them: only
// the first ENGINE_init of a handle and its last ENGINE_finish do.
ENGINE_GEN_INT_FUNC_PTR engineInit = nullptr;
ENGINE_GEN_INT_FUNC_PTR engineFinish = nullptr;
std::atomic<int> starts{0};
std::atomic<int> stops{0};

int countedInit(ENGINE* e) {
    ++starts;
    return engineInit(e);
}

int countedFinish(ENGINE* e) {
    ++stops;
    return engineFinish(e);
}

// Signs through the C interface, which holds no reference to the engine, so that the engine
// really stops while signatures are under way; every call ends with a result or an error.
void signUntil(std::atomic<bool> const& stop) {
    unsigned char block[51] = {0x30, 0x31};
    while (!stop) {
        unsigned char* signature = nullptr;
        unsigned long length = 0;
        try {
            if (sign(block, sizeof block, &signature, &length)) {
                delete[] signature;
            }
        } catch (std::invalid_argument* noCard) {
            delete noCard;
        }
    }
}

// Starting and stopping the engine, card swaps and signing threads all at once, within the
// watchdog's time.
TEST_F(EngineTest, InitAndFinishInALoopRestartTheEngineWhileThreadsSignAndCardsComeAndGo) {
    engineInit = ENGINE_get_init_function(engine_);
    engineFinish = ENGINE_get_finish_function(engine_);
    ASSERT_EQ(ENGINE_set_init_function(engine_, countedInit), 1);
    ASSERT_EQ(ENGINE_set_finish_function(engine_, countedFinish), 1);
    starts = 0;
    stops = 0;

    std::atomic<bool> stop{false};
    std::vector<std::future<void>> workers;
    for (int thread = 0; thread < 4; ++thread) {
        workers.push_back(std::async(std::launch::async, [&] { signUntil(stop); }));
    }
    workers.push_back(std::async(std::launch::async, [&] {
        for (int round = 0; round < 20 && !stop; ++round) {
            cardservice::memory::removeCard(ReaderName);
            cardservice::memory::insertCard(ReaderName, newCard());
        }
    }));

    constexpr int Rounds = 20;
    auto const cycles = std::async(std::launch::async, [this] {
        for (int round = 0; round < Rounds; ++round) {
            if (ENGINE_init(engine_) != 0) {
                ENGINE_ctrl_cmd_string(engine_, "PIN", Pin, 0);
                ENGINE_finish(engine_);
            }
            ERR_clear_error();
        }
    });
    bool const finished = cycles.wait_for(std::chrono::seconds(120)) == std::future_status::ready;
    stop = true;
    for (auto& worker : workers) {
        ASSERT_EQ(worker.wait_for(std::chrono::seconds(60)), std::future_status::ready);
    }
    ASSERT_TRUE(finished) << "engine start and stop did not finish";
    EXPECT_EQ(starts, Rounds);
    EXPECT_EQ(stops, Rounds);
}

}  // namespace
}  // namespace engine::test
