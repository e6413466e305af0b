#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

#include "cardservice/memory/memory_service.hpp"
#include "enabler_recorder.hpp"
#include "pavlenenabler/enabler/enabler.hpp"
#include "testsupport/cardsim/card_simulator.hpp"
#include "testsupport/cardsim/test_credentials.hpp"

// An Enabler owned by an object with static storage that is built before anything of the reader
// stack, as the engine's state is: at exit its destructor runs after the reader stack's statics
// are gone. The event thread is busy in a handler when exit begins, and goes on once the statics
// built after the events started are destroyed. The process must end cleanly.
namespace pavlenenabler::test {
namespace {

using testsupport::cardsim::CardSimulator;
namespace memory = cardservice::memory;

struct Owner {
    ~Owner() {
        if (enabler) {
            enabler->stopCardEvent();
        }
    }

    EnablerRecorder user;
    std::unique_ptr<enabler::Enabler> enabler;
};

Owner& owner() {
    static Owner instance;
    return instance;
}

// Holds a handler on the event thread until exit destroys it.
class Gate {
public:
    ~Gate() {
        std::lock_guard<std::mutex> lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }

    void holdHandler() {
        std::unique_lock<std::mutex> lock(mutex_);
        held_ = true;
        changed_.notify_all();
        changed_.wait_for(lock, std::chrono::seconds(10), [this] { return open_; });
    }
    bool waitUntilHeld() {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, std::chrono::seconds(10), [this] { return held_; });
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool held_ = false;
    bool open_ = false;
};

// Built after the events start, so that exit destroys it before it stops the event thread.
Gate& gate() {
    static Gate instance;
    return instance;
}

TEST(EnablerExitTest, OwnerBuiltBeforeTheReaderStackEndsCleanlyWithEventsFlowing) {
    // libcrypto's exit handler must run after the card service's worker has ended.
    testsupport::cardsim::TestCredentials::shared();
    Owner& early = owner();
    memory::reset();
    memory::addReader("Reader 1");
    memory::addReader("Reader 2");
    memory::insertCard("Reader 1", std::make_shared<CardSimulator>());
    early.enabler = std::make_unique<enabler::Enabler>(early.user, early.user);
    early.user.afterInsertion = [insertions = 0]() mutable {
        if (++insertions == 2) {
            gate().holdHandler();
        }
    };
    early.enabler->startCardEvent();
    ASSERT_TRUE(early.user.waitForEvents(1));

    gate();
    memory::insertCard("Reader 2", std::make_shared<CardSimulator>());
    ASSERT_TRUE(gate().waitUntilHeld());
    // More events wait for the next passes.
    memory::removeCard("Reader 1");
}

}  // namespace
}  // namespace pavlenenabler::test
