#include <cstdint>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "ctkwrapper/slot_manager.hpp"
#include "service_fixture.hpp"

namespace ctkwrapper::test {
namespace {

namespace memory = cardservice::memory;

using Names = std::vector<std::string>;

// Records the values of the calls; the calls come on the test thread or the service's.
class Recorder {
public:
    KvCallback callback() {
        return [this](KvValue const& value) {
            std::lock_guard<std::mutex> lock(mutex_);
            values_.push_back(value);
        };
    }
    std::vector<KvValue> values() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return values_;
    }
    std::vector<std::int64_t> states() const {
        std::vector<std::int64_t> states;
        for (auto const& value : values()) {
            states.push_back(std::get<std::int64_t>(value));
        }
        return states;
    }

private:
    mutable std::mutex mutex_;
    std::vector<KvValue> values_;
};

TEST(KvObserveOptions, CombineBitwise) {
    auto const combined = KvObserveOptions::Initial | KvObserveOptions::New;
    EXPECT_EQ(static_cast<std::uint32_t>(combined), 5u);
    EXPECT_EQ(combined & KvObserveOptions::Initial, KvObserveOptions::Initial);
    EXPECT_EQ(static_cast<std::uint32_t>(combined & KvObserveOptions::Old), 0u);
}

using KvObserveTest = ServiceTest;

TEST_F(KvObserveTest, InitialOptionCallsOnceOnThisThreadBeforeObserveReturns) {
    memory::addReader("Reader");
    Slot slot = SlotManager::getInstance().slotNamed("Reader");
    std::vector<std::thread::id> threads;
    std::vector<KvValue> values;
    KvObserver const observer = slot.getStateObservable().observe(
        [&](KvValue const& value) {
            threads.push_back(std::this_thread::get_id());
            values.push_back(value);
        },
        KvObserveOptions::Initial | KvObserveOptions::New);
    ASSERT_EQ(values.size(), 1u);
    EXPECT_EQ(values[0], KvValue(std::int64_t{1}));
    EXPECT_EQ(threads[0], std::this_thread::get_id());
    EXPECT_TRUE(observer.isValid());
}

TEST_F(KvObserveTest, WithoutInitialOptionTheFirstCallComesWithAChange) {
    memory::addReader("Reader");
    Slot slot = SlotManager::getInstance().slotNamed("Reader");
    Recorder recorder;
    KvObserver const observer =
        slot.getStateObservable().observe(recorder.callback(), KvObserveOptions::New);
    EXPECT_TRUE(recorder.values().empty());
    memory::insertCard("Reader", std::make_shared<testsupport::cardsim::CardSimulator>());
    EXPECT_EQ(recorder.states(), (std::vector<std::int64_t>{2, 4}));
}

TEST_F(KvObserveTest, QuickResetIsSeenWithEveryValueInOrder) {
    readerWithCard("Reader");
    Slot slot = SlotManager::getInstance().slotNamed("Reader");
    Recorder recorder;
    KvObserver const observer =
        slot.getStateObservable().observe(recorder.callback(), KvObserveOptions::Initial);
    memory::resetCard("Reader");
    memory::reportState("Reader", 7);
    memory::removeCard("Reader");
    memory::removeReader("Reader");
    EXPECT_EQ(recorder.states(), (std::vector<std::int64_t>{4, 2, 4, 7, 1, 0}));
}

TEST_F(KvObserveTest, ReaderListChangesCarryTheNewList) {
    memory::addReader("Reader 1");
    Recorder recorder;
    KvObserver const observer = SlotManager::getInstance().getSlotObservable().observe(
        recorder.callback(), KvObserveOptions::Initial);
    memory::addReader("Reader 2");
    memory::removeReader("Reader 1");
    EXPECT_EQ(recorder.values(),
              (std::vector<KvValue>{Names{"Reader 1"}, Names{"Reader 1", "Reader 2"},
                                    Names{"Reader 2"}}));
}

TEST_F(KvObserveTest, DestroyedObserverIsNotCalledAgain) {
    memory::addReader("Reader");
    Slot slot = SlotManager::getInstance().slotNamed("Reader");
    Recorder recorder;
    {
        KvObserver const observer =
            slot.getStateObservable().observe(recorder.callback(), KvObserveOptions::New);
        memory::reportState("Reader", 3);
    }
    memory::reportState("Reader", 4);
    EXPECT_EQ(recorder.states(), std::vector<std::int64_t>{3});
}

TEST_F(KvObserveTest, AssigningAnotherObserverEndsTheFirst) {
    memory::addReader("Reader");
    Slot slot = SlotManager::getInstance().slotNamed("Reader");
    Recorder first;
    Recorder second;
    KvObserver observer =
        slot.getStateObservable().observe(first.callback(), KvObserveOptions::New);
    observer = slot.getStateObservable().observe(second.callback(), KvObserveOptions::New);
    memory::reportState("Reader", 3);
    EXPECT_TRUE(first.states().empty());
    EXPECT_EQ(second.states(), std::vector<std::int64_t>{3});
}

TEST_F(KvObserveTest, MovedObserverKeepsTheObservation) {
    memory::addReader("Reader");
    Slot slot = SlotManager::getInstance().slotNamed("Reader");
    Recorder recorder;
    KvObserver first =
        slot.getStateObservable().observe(recorder.callback(), KvObserveOptions::New);
    KvObserver second(std::move(first));
    memory::reportState("Reader", 3);
    EXPECT_TRUE(second.isValid());
    EXPECT_EQ(recorder.states(), std::vector<std::int64_t>{3});
}

TEST_F(KvObserveTest, CallbackMayEndItsOwnObservation) {
    memory::addReader("Reader");
    Slot slot = SlotManager::getInstance().slotNamed("Reader");
    std::optional<KvObserver> observer;
    int calls = 0;
    observer = slot.getStateObservable().observe(
        [&](KvValue const&) {
            ++calls;
            observer.reset();
        },
        KvObserveOptions::New);
    // Insertion reports two states; the second finds the observation ended.
    memory::insertCard("Reader", std::make_shared<testsupport::cardsim::CardSimulator>());
    memory::removeCard("Reader");
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(observer.has_value());
}

TEST_F(KvObserveTest, ObservingAnInvalidSlotRegistersNothing) {
    Slot slot = SlotManager::getInstance().slotNamed("nowhere");
    Recorder recorder;
    KvObserver const observer =
        slot.getStateObservable().observe(recorder.callback(), KvObserveOptions::Initial);
    EXPECT_TRUE(observer.isValid());
    memory::addReader("nowhere");
    memory::reportState("nowhere", 3);
    EXPECT_TRUE(recorder.values().empty());
}

}  // namespace
}  // namespace ctkwrapper::test
