#include "velk/weak_manager.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

// Counts its instances so tests can see when objects are built and destroyed.
struct Tracked {
    static std::atomic<int> live;
    static std::atomic<int> built;
    static std::atomic<bool> overlapped;

    explicit Tracked(std::string n = {}) : name(std::move(n)) {
        if (live.fetch_add(1) != 0) {
            overlapped = true;
        }
        ++built;
    }
    ~Tracked() { --live; }

    std::string name;
};
std::atomic<int> Tracked::live{0};
std::atomic<int> Tracked::built{0};
std::atomic<bool> Tracked::overlapped{false};

struct Failing {
    explicit Failing(bool fail) {
        if (fail) {
            throw std::runtime_error("construction failed");
        }
    }
};

class WeakManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        Tracked::live = 0;
        Tracked::built = 0;
        Tracked::overlapped = false;
    }

    velk::WeakManager<Tracked, std::string> manager;
};

TEST_F(WeakManagerTest, HeldObjectIsHandedOutAgainForItsKey) {
    auto const first = manager.GetOrCreate("reader a", "first");
    auto const second = manager.GetOrCreate("reader a", "second");
    EXPECT_EQ(first, second);
    EXPECT_EQ("first", second->name);
    EXPECT_EQ(first, manager.Get("reader a"));

    EXPECT_NE(first, manager.GetOrCreate("reader b"));
    EXPECT_EQ(nullptr, manager.Get("reader c"));
}

TEST_F(WeakManagerTest, ManagerDoesNotKeepObjectsAlive) {
    auto object = manager.GetOrCreate("reader a");
    object.reset();
    EXPECT_EQ(0, Tracked::live);
    EXPECT_EQ(nullptr, manager.Get("reader a"));

    object = manager.GetOrCreate("reader a");
    EXPECT_EQ(2, Tracked::built);
    EXPECT_EQ(object, manager.Get("reader a"));
}

TEST_F(WeakManagerTest, ObjectOutlivingItsManagerIsDestroyedNormally) {
    auto manager2 = std::make_unique<velk::WeakManager<Tracked, std::string>>();
    auto object = manager2->GetOrCreate("reader a");
    manager2.reset();
    object.reset();
    EXPECT_EQ(0, Tracked::live);
}

TEST(WeakManager, FailedConstructionRegistersNothing) {
    velk::WeakManager<Failing, int> manager;
    EXPECT_THROW(manager.GetOrCreate(1, true), std::runtime_error);
    EXPECT_EQ(nullptr, manager.Get(1));
    EXPECT_NE(nullptr, manager.GetOrCreate(1, false));
}

// Threads keep taking and dropping one key. Each round ends with every holder gone, so the next
// round must build a new object; within a round the releases race with new requests.
TEST_F(WeakManagerTest, ConcurrentUsersNeverSeeTwoObjectsForOneKey) {
    constexpr int rounds = 50;
    constexpr int threadCount = 8;
    constexpr int iterations = 200;
    std::atomic<int> mismatches{0};

    for (int round = 0; round < rounds; ++round) {
        std::vector<std::thread> threads;
        for (int t = 0; t < threadCount; ++t) {
            threads.emplace_back([&] {
                for (int i = 0; i < iterations; ++i) {
                    auto const held = manager.GetOrCreate("reader a");
                    if (manager.Get("reader a") != held) {
                        ++mismatches;
                    }
                }
            });
        }
        for (auto& thread : threads) {
            thread.join();
        }
        ASSERT_EQ(0, Tracked::live);
    }

    EXPECT_FALSE(Tracked::overlapped);
    EXPECT_EQ(0, mismatches);
    EXPECT_GE(Tracked::built, rounds);
}

}  // namespace
