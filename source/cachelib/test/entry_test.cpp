#include "cachelib/entry.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "cachelib/persistent_memory_cache.hpp"

namespace {

class EntryTest : public ::testing::Test {
protected:
    cachelib::PersistentMemoryCache<void> cache{
        std::make_shared<cachelib::PersistentMemoryStorage<void>>()};
    std::unique_ptr<cachelib::Entry<std::string>> entry = cache.createEntry<std::string>();
    int loads = 0;

    std::string load() {
        ++loads;
        return "loaded";
    }
};

TEST_F(EntryTest, LoaderRunsOnceAndLaterFetchesShareTheValue) {
    auto const first = entry->fetch([this] { return load(); });
    auto const second = entry->fetch([this] { return load(); });
    EXPECT_EQ(1, loads);
    EXPECT_EQ("loaded", *second);
    EXPECT_EQ(&*first, &*second);
}

TEST_F(EntryTest, ThrowingLoaderLeavesPlaceEmptyAndNextFetchRetries) {
    EXPECT_THROW(entry->fetch([]() -> std::string { throw std::runtime_error("card gone"); }),
                 std::runtime_error);
    EXPECT_EQ(nullptr, entry->lock().getValue());

    EXPECT_EQ("loaded", *entry->fetch([this] { return load(); }));
    EXPECT_EQ(1, loads);
}

TEST_F(EntryTest, ChangeThroughViewIsSeenByLaterFetches) {
    auto const view = entry->fetch([this] { return load(); });
    view->append(" and changed");
    EXPECT_EQ("loaded and changed", *entry->fetch([this] { return load(); }));
}

TEST_F(EntryTest, UpdateReplacesValueWhileOldViewKeepsItsValue) {
    auto const old = entry->fetch([this] { return load(); });
    entry->update("updated");
    EXPECT_EQ("updated", *entry->fetch([this] { return load(); }));
    EXPECT_EQ("loaded", *old);
    EXPECT_EQ(1, loads);
}

// Each round starts from an empty place; however the threads meet, one of them loads and all of
// them get the stored object.
TEST_F(EntryTest, ConcurrentFetchesOfOneEntryLoadOnce) {
    constexpr int rounds = 100;
    constexpr int threadCount = 8;
    std::atomic<int> concurrentLoads{0};
    for (int round = 0; round < rounds; ++round) {
        entry->lock().invalidate();
        std::promise<void> start;
        std::shared_future<void> const started = start.get_future().share();
        std::vector<std::string const*> seen(threadCount);
        std::vector<std::thread> threads;
        for (int t = 0; t < threadCount; ++t) {
            threads.emplace_back([&, t] {
                started.wait();
                seen[t] = &*entry->fetch([&] {
                    ++concurrentLoads;
                    std::this_thread::yield();
                    return std::string("channel");
                });
            });
        }
        start.set_value();
        for (auto& thread : threads) {
            thread.join();
        }
        ASSERT_EQ(round + 1, concurrentLoads);
        for (auto const* value : seen) {
            ASSERT_EQ(seen.front(), value);
        }
    }
}

}  // namespace
