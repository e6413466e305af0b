#include "cachelib/persistent_memory_key_value_cache.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <boost/optional.hpp>
#include <boost/optional/optional_io.hpp>
#include <future>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "velk/exceptions.hpp"

namespace {

// Stands in for the keys of the layers above: a class holding the storage key text.
struct TestKey {
    std::string text;
};

struct TestKeyToString {
    std::string operator()(TestKey const& key) const { return key.text; }
};

using Cache = cachelib::PersistentMemoryKeyValueCache<void, std::string, TestKeyToString>;

class PersistentMemoryKeyValueCacheTest : public ::testing::Test {
protected:
    Cache cache{std::make_shared<Cache::Storage>()};
    TestKey const path{"selected path"};
    TestKey const key{"active key"};
};

TEST_F(PersistentMemoryKeyValueCacheTest, EntriesForOneKeyShareTheValue) {
    auto const first = cache.get<int>(path);
    auto const second = cache.get<int>(path);
    EXPECT_NE(first, second);
    EXPECT_EQ(nullptr, second->lock().getValue());

    first->update(7);
    EXPECT_EQ(7, *second->lock().getValue());
    second->update(8);
    EXPECT_EQ(8, *first->lock().getValue());
    EXPECT_EQ(nullptr, cache.get<int>(key)->lock().getValue());
}

TEST_F(PersistentMemoryKeyValueCacheTest, StoredValueOutlivesItsEntries) {
    cache.get<std::string>(path)->update("3F00/4404");
    EXPECT_EQ("3F00/4404", *cache.get<std::string>(path)->lock().getValue());
}

TEST_F(PersistentMemoryKeyValueCacheTest, InvalidateRemovesOnlyItsKey) {
    auto const selected = cache.get<int>(path);
    selected->update(1);
    cache.get<int>(key)->update(2);

    cache.get<int>(TestKey{"absent"})->lock().invalidate();
    EXPECT_EQ(1, *selected->lock().getValue());

    selected->lock().invalidate();
    EXPECT_EQ(nullptr, cache.get<int>(path)->lock().getValue());
    EXPECT_EQ(2, *cache.get<int>(key)->lock().getValue());
}

// The object drivers keep optional values: an empty optional means "known to be nothing".
TEST_F(PersistentMemoryKeyValueCacheTest, EmptyOptionalIsCachedUntilUpdated) {
    using Selection = boost::optional<std::string>;
    int loads = 0;
    auto const loadNothing = [&loads] {
        ++loads;
        return Selection();
    };
    auto const entry = cache.get<Selection>(path);
    EXPECT_FALSE(*entry->fetch(loadNothing));
    EXPECT_FALSE(*cache.get<Selection>(path)->fetch(loadNothing));
    EXPECT_EQ(1, loads);

    entry->update(Selection("3F00"));
    EXPECT_EQ(Selection("3F00"), *cache.get<Selection>(path)->fetch(loadNothing));
}

// Entries for one key keep separate mutexes, so only the storage mutex protects the map while
// threads load, replace and drop the value at once.
TEST_F(PersistentMemoryKeyValueCacheTest, EntriesUsedFromManyThreadsSeeOnlyStoredValues) {
    constexpr int threadCount = 8;
    constexpr int rounds = 500;
    std::promise<void> start;
    std::shared_future<void> const started = start.get_future().share();
    std::atomic<int> foreign{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < threadCount; ++t) {
        threads.emplace_back([&, t] {
            auto const shared = cache.get<int>(path);
            auto const own = cache.get<int>(TestKey{"slot " + std::to_string(t)});
            started.wait();
            for (int round = 0; round < rounds; ++round) {
                int const seen = *shared->fetch([t] { return t; });
                if (seen < 0 || seen >= threadCount) {
                    ++foreign;
                }
                own->update(round);
                if (*own->fetch([] { return -1; }) != round) {
                    ++foreign;
                }
                shared->lock().invalidate();
            }
        });
    }
    start.set_value();
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(0, foreign);
    for (int t = 0; t < threadCount; ++t) {
        EXPECT_EQ(rounds - 1,
                  *cache.get<int>(TestKey{"slot " + std::to_string(t)})->lock().getValue());
    }
}

TEST(PersistentMemoryKeyValueCache, RefusesMissingStorage) {
    EXPECT_THROW(Cache(nullptr), velk::InputError);
}

}  // namespace
