#include <openssl/engine.h>
#include <openssl/err.h>

#include <atomic>
#include <future>
#include <thread>
#include <vector>

#include "cardservice/memory/memory_service.hpp"
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

// Starting and stopping the engine, card swaps and signing threads all at once: every call
// ends with a result or an error, within the watchdog's time.
TEST_F(EngineTest, InitAndFinishInALoopWhileThreadsSignAndCardsComeAndGo) {
    initEngine();
    ASSERT_EQ(ENGINE_ctrl_cmd_string(engine_, "PIN", Pin, 0), 1);
    PkeyPtr const key = loadPrivateKey();
    ASSERT_TRUE(key);

    std::atomic<bool> stop{false};
    std::vector<std::future<void>> workers;
    for (int thread = 0; thread < 4; ++thread) {
        workers.push_back(std::async(std::launch::async, [&] {
            while (!stop) {
                signMessage(key.get(), Message);
                ERR_clear_error();
            }
        }));
    }
    workers.push_back(std::async(std::launch::async, [&] {
        for (int round = 0; round < 20 && !stop; ++round) {
            cardservice::memory::removeCard(ReaderName);
            cardservice::memory::insertCard(ReaderName, newCard());
        }
    }));

    auto const cycles = std::async(std::launch::async, [this] {
        for (int round = 0; round < 20; ++round) {
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
}

}  // namespace
}  // namespace engine::test
