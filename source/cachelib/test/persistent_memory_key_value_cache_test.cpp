#include "cachelib/persistent_memory_key_value_cache.hpp"

#include <gtest/gtest.h>

#include <boost/optional.hpp>
#include <boost/optional/optional_io.hpp>
#include <memory>
#include <string>

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

TEST(PersistentMemoryKeyValueCache, RefusesMissingStorage) {
    EXPECT_THROW(Cache(nullptr), velk::InputError);
}

}  // namespace
