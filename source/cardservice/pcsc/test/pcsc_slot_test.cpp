// A slot's observers, driven directly as the reader monitor drives them; no daemon needed.
#include "pcsc_slot.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <thread>
#include <vector>

#include "pcsc_test_support.hpp"

namespace cardservice::impl::pcsc {
namespace {

using cardservice::pcsc::testing::endsInTime;

constexpr auto timeout = std::chrono::seconds(10);

std::shared_ptr<PcscSlot> slotWithACard() {
    return std::make_shared<PcscSlot>("Reader", ReaderState{StateValidCard, 1}, AtrBytes{0x3B});
}

TEST(PcscSlot, ObserverMayCallBackIntoTheSlotWhileItIsCalled) {
    auto const slot = slotWithACard();
    auto const seen = std::make_shared<std::vector<std::int64_t>>();
    auto const added = std::make_shared<std::vector<std::int64_t>>();
    auto id = std::make_shared<KeyValueObservable::ObservationId>();
    // The slot's observers must not own it.
    PcscSlot* const self = slot.get();
    *id = slot->addObserver("state", 0, [self, seen, added, id](ObservedValue const& value) {
        seen->push_back(std::get<std::int64_t>(value));
        seen->push_back(self->state());
        self->addObserver("state", ObserveInitial, [added](ObservedValue const& value) {
            added->push_back(std::get<std::int64_t>(value));
        });
        self->removeObserver(*id);
    });
    ASSERT_TRUE(endsInTime([slot] { slot->reportReset(); })) << "deadlocked";
    // Removed in its first call; the observer added then sees its initial value and the rest.
    EXPECT_EQ(*seen, (std::vector<std::int64_t>{StateProbing, StateProbing}));
    EXPECT_EQ(*added, (std::vector<std::int64_t>{StateProbing, StateValidCard}));
}

TEST(PcscSlot, RemovalWaitsForTheCallRunningOnAnotherThread) {
    auto const slot = slotWithACard();
    std::atomic<int> calls{0};
    std::atomic<bool> finished{false};
    std::promise<void> entered;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    auto const id = slot->addObserver("state", 0, [&](ObservedValue const&) {
        if (++calls == 1) {
            entered.set_value();
            released.wait_for(timeout);
        }
        finished = true;
    });
    std::thread monitor([&] { slot->reportReset(); });
    ASSERT_EQ(entered.get_future().wait_for(timeout), std::future_status::ready);
    std::promise<void> removing;
    bool finishedWhenRemoved = false;
    int callsWhenRemoved = 0;
    std::thread remover([&] {
        removing.set_value();
        slot->removeObserver(id);
        finishedWhenRemoved = finished;
        callsWhenRemoved = calls;
    });
    ASSERT_EQ(removing.get_future().wait_for(timeout), std::future_status::ready);
    release.set_value();
    remover.join();
    monitor.join();
    EXPECT_TRUE(finishedWhenRemoved);
    slot->reportReset();
    EXPECT_EQ(calls.load(), callsWhenRemoved);
}

}  // namespace
}  // namespace cardservice::impl::pcsc
