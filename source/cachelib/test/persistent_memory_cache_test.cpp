#include "cachelib/persistent_memory_cache.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "velk/exceptions.hpp"

namespace {

class PersistentMemoryCacheTest : public ::testing::Test {
protected:
    std::shared_ptr<cachelib::PersistentMemoryStorage<void>> storage =
        std::make_shared<cachelib::PersistentMemoryStorage<void>>();
    cachelib::PersistentMemoryCache<void> cache{storage};
    int loads = 0;

    template <typename T>
    T fetch(cachelib::Entry<T>& entry, T loaded) {
        return *entry.fetch([&] {
            ++loads;
            return loaded;
        });
    }
};

TEST_F(PersistentMemoryCacheTest, EntriesKeepSeparateSlots) {
    auto channel = cache.createEntry<int>();
    auto aid = cache.createEntry<std::string>();
    auto other = cache.createEntry<int>();
    channel->update(1);
    aid->update("applet");
    EXPECT_EQ(1, fetch(*channel, 9));
    EXPECT_EQ("applet", fetch(*aid, std::string("other")));
    EXPECT_EQ(9, fetch(*other, 9));
    EXPECT_EQ(1, loads);
}

TEST_F(PersistentMemoryCacheTest, InvalidateAllEmptiesEverySlotWhileHandlersStayValid) {
    auto channel = cache.createEntry<int>();
    auto aid = cache.createEntry<std::string>();
    auto const oldAid = aid->fetch([] { return std::string("applet"); });
    channel->update(2);

    storage->invalidateAll();

    EXPECT_EQ(nullptr, channel->lock().getValue());
    EXPECT_EQ(nullptr, aid->lock().getValue());
    EXPECT_EQ("applet", *oldAid);
    EXPECT_EQ(3, fetch(*channel, 3));
    EXPECT_EQ("new", fetch(*aid, std::string("new")));
    EXPECT_EQ(2, loads);
}

TEST_F(PersistentMemoryCacheTest, DestroyingAnEntryRemovesOnlyItsOwnSlot) {
    auto first = cache.createEntry<int>();
    auto middle = cache.createEntry<int>();
    auto last = cache.createEntry<int>();
    first->update(1);
    middle->update(2);
    last->update(3);

    middle.reset();

    EXPECT_EQ(1, fetch(*first, 0));
    EXPECT_EQ(3, fetch(*last, 0));
    cache.getStorage().invalidateAll();
    EXPECT_EQ(0, fetch(*first, 0));
}

TEST_F(PersistentMemoryCacheTest, CopiesShareTheStorage) {
    auto const copy = cache;
    auto entry = copy.createEntry<int>();
    entry->update(5);
    cache.getStorage().invalidateAll();
    EXPECT_EQ(nullptr, entry->lock().getValue());
}

TEST(PersistentMemoryCache, RefusesMissingStorage) {
    EXPECT_THROW(cachelib::PersistentMemoryCache<void>(nullptr), velk::InputError);
}

}  // namespace
