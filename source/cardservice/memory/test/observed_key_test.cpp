#include <atomic>
#include <chrono>
#include <cstdint>
#include <future>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "observed_key.hpp"

namespace cardservice::memory::detail::test {
namespace {

constexpr auto timeout = std::chrono::seconds(10);

std::int64_t number(ObservedValue const& value) {
    return std::get<std::int64_t>(value);
}

void set(ObservedKey& key, std::int64_t value) {
    key.change(value);
    key.deliverPending();
}

TEST(ObservedKey, OtherKeyPathRegistersNothing) {
    ObservedKey key("state", std::int64_t{1});
    int calls = 0;
    auto const id = key.add("slotNames", ObserveInitial, [&](ObservedValue const&) { ++calls; });
    set(key, 2);
    key.remove(id);
    EXPECT_EQ(calls, 0);
}

TEST(ObservedKey, ChangesRecordedTogetherAreDeliveredInOrder) {
    ObservedKey key("state", std::int64_t{4});
    std::vector<std::int64_t> seen;
    key.add("state", 0, [&](ObservedValue const& v) { seen.push_back(number(v)); });
    key.change(std::int64_t{2});
    key.change(std::int64_t{4});
    EXPECT_TRUE(seen.empty());
    key.deliverPending();
    EXPECT_EQ(seen, (std::vector<std::int64_t>{2, 4}));
}

TEST(ObservedKey, ObserverAddedAfterAChangeDoesNotReceiveIt) {
    ObservedKey key("state", std::int64_t{1});
    key.change(std::int64_t{2});
    std::vector<std::int64_t> seen;
    key.add("state", 0, [&](ObservedValue const& v) { seen.push_back(number(v)); });
    key.deliverPending();
    set(key, 3);
    EXPECT_EQ(seen, std::vector<std::int64_t>{3});
}

TEST(ObservedKey, ChangeDuringADeliveryWaitsForTheDeliveringThread) {
    ObservedKey key("state", std::int64_t{1});
    std::mutex mutex;
    std::vector<std::pair<std::int64_t, std::thread::id>> seen;
    std::promise<void> entered;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    key.add("state", 0, [&](ObservedValue const& v) {
        {
            std::lock_guard<std::mutex> lock(mutex);
            seen.emplace_back(number(v), std::this_thread::get_id());
        }
        if (number(v) == 2) {
            entered.set_value();
            released.wait_for(timeout);
        }
    });
    std::thread deliverer([&] { set(key, 2); });
    ASSERT_EQ(entered.get_future().wait_for(timeout), std::future_status::ready);
    // The first change is still being delivered: these are queued behind it and the call
    // returns at once, holding no lock that the callback could wait for.
    set(key, 3);
    set(key, 4);
    EXPECT_EQ(number(key.value()), 4);
    release.set_value();
    deliverer.join();
    std::lock_guard<std::mutex> lock(mutex);
    ASSERT_EQ(seen.size(), 3u);
    for (std::size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i].first, static_cast<std::int64_t>(i + 2));
        EXPECT_EQ(seen[i].second, seen[0].second);
    }
}

TEST(ObservedKey, ManyThreadsChangingAreEachSeenOnce) {
    ObservedKey key("state", std::int64_t{0});
    std::mutex mutex;
    std::vector<std::int64_t> seen;
    key.add("state", 0, [&](ObservedValue const& v) {
        std::lock_guard<std::mutex> lock(mutex);
        seen.push_back(number(v));
    });
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&key, t] {
            for (int i = 0; i < 50; ++i) {
                set(key, t * 100 + i);
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    key.deliverPending();
    std::lock_guard<std::mutex> lock(mutex);
    ASSERT_EQ(seen.size(), 200u);
    // Each thread's own changes keep their order.
    std::vector<std::int64_t> last(4, -1);
    for (auto const value : seen) {
        auto& previous = last[static_cast<std::size_t>(value / 100)];
        EXPECT_GT(value % 100, previous);
        previous = value % 100;
    }
}

TEST(ObservedKey, ThrowingObserverCostsNoOtherObserverAChange) {
    ObservedKey key("state", std::int64_t{0});
    std::vector<std::int64_t> seen;
    key.add("state", 0, [](ObservedValue const&) { throw std::runtime_error("observer failed"); });
    key.add("state", 0, [&](ObservedValue const& v) { seen.push_back(number(v)); });
    EXPECT_NO_THROW(set(key, 1));
    EXPECT_NO_THROW(set(key, 2));
    EXPECT_EQ(seen, (std::vector<std::int64_t>{1, 2}));
}

TEST(ObservedKey, ChangeDuringTheInitialCallReachesTheObserverAfterIt) {
    ObservedKey key("state", std::int64_t{StateEmpty});
    std::mutex mutex;
    std::vector<std::int64_t> seen;
    std::thread inserter;
    std::promise<void> inserted;
    auto const registering = std::this_thread::get_id();
    key.add("state", ObserveInitial, [&](ObservedValue const& v) {
        if (std::this_thread::get_id() == registering && !inserter.joinable()) {
            // A card goes in on another thread while the observer takes its initial value.
            inserter = std::thread([&] {
                set(key, StateValidCard);
                inserted.set_value();
            });
            EXPECT_EQ(inserted.get_future().wait_for(timeout), std::future_status::ready);
        }
        std::lock_guard<std::mutex> lock(mutex);
        seen.push_back(number(v));
    });
    inserter.join();
    std::lock_guard<std::mutex> lock(mutex);
    EXPECT_EQ(seen, (std::vector<std::int64_t>{StateEmpty, StateValidCard}));
    EXPECT_EQ(seen.back(), number(key.value()));
}

TEST(ObservedKey, RemovalWaitsForTheCallRunningOnAnotherThread) {
    ObservedKey key("state", std::int64_t{1});
    std::atomic<int> calls{0};
    std::atomic<bool> finished{false};
    std::promise<void> entered;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    auto const id = key.add("state", 0, [&](ObservedValue const&) {
        if (++calls == 1) {
            entered.set_value();
            released.wait_for(timeout);
        }
        finished = true;
    });
    std::thread deliverer([&] { set(key, 2); });
    ASSERT_EQ(entered.get_future().wait_for(timeout), std::future_status::ready);
    std::promise<void> removing;
    bool finishedWhenRemoved = false;
    std::thread remover([&] {
        removing.set_value();
        key.remove(id);
        finishedWhenRemoved = finished;
    });
    ASSERT_EQ(removing.get_future().wait_for(timeout), std::future_status::ready);
    release.set_value();
    remover.join();
    deliverer.join();
    EXPECT_TRUE(finishedWhenRemoved);
    set(key, 3);
    EXPECT_EQ(calls.load(), 1);
}

TEST(ObservedKey, ObserverMayRemoveItselfFromItsCallback) {
    ObservedKey key("state", std::int64_t{1});
    int calls = 0;
    KeyValueObservable::ObservationId id = 0;
    id = key.add("state", 0, [&](ObservedValue const&) {
        ++calls;
        key.remove(id);
    });
    set(key, 2);
    set(key, 3);
    EXPECT_EQ(calls, 1);
}

TEST(ObservedKey, ObserverWhoseInitialCallThrowsIsNotRegistered) {
    ObservedKey key("state", std::int64_t{1});
    int calls = 0;
    EXPECT_THROW(key.add("state", ObserveInitial,
                         [&](ObservedValue const&) {
                             ++calls;
                             throw std::runtime_error("observer failed");
                         }),
                 std::runtime_error);
    set(key, 2);
    EXPECT_EQ(calls, 1);
}

}  // namespace
}  // namespace cardservice::memory::detail::test
