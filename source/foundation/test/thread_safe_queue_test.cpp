#include "velk/thread_safe_queue.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <numeric>
#include <thread>
#include <vector>

namespace {

TEST(ThreadSafeQueue, EmptyQueuePopsNothing) {
    velk::ThreadSafeQueue<int> queue;
    EXPECT_FALSE(queue.TryPop());
    queue.Push(1);
    EXPECT_TRUE(queue.TryPop());
    EXPECT_FALSE(queue.TryPop());
}

TEST(ThreadSafeQueue, ElementsComeOutInPushOrder) {
    velk::ThreadSafeQueue<std::unique_ptr<int>> queue;
    for (int value : {3, 1, 2}) {
        queue.Push(std::make_unique<int>(value));
    }
    for (int expected : {3, 1, 2}) {
        auto popped = queue.TryPop();
        ASSERT_TRUE(popped);
        EXPECT_EQ(expected, **popped);
    }
    EXPECT_FALSE(queue.TryPop());
}

// Every pushed value reaches exactly one consumer, and each producer's values keep their order.
TEST(ThreadSafeQueue, ConcurrentProducersAndConsumersLoseAndDuplicateNothing) {
    constexpr int producers = 4;
    constexpr int consumers = 4;
    constexpr int perProducer = 5000;
    constexpr int total = producers * perProducer;
    auto const deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);

    velk::ThreadSafeQueue<int> queue;
    std::atomic<int> popped{0};
    std::vector<std::vector<int>> received(consumers);
    std::vector<std::thread> threads;
    for (int p = 0; p < producers; ++p) {
        threads.emplace_back([&queue, p] {
            for (int i = 0; i < perProducer; ++i) {
                queue.Push(p * perProducer + i);
            }
        });
    }
    for (int c = 0; c < consumers; ++c) {
        threads.emplace_back([&, c] {
            while (popped < total && std::chrono::steady_clock::now() < deadline) {
                if (auto value = queue.TryPop()) {
                    received[c].push_back(*value);
                    ++popped;
                } else {
                    std::this_thread::yield();
                }
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }

    std::vector<int> all;
    for (auto const& values : received) {
        for (int p = 0; p < producers; ++p) {
            std::vector<int> fromProducer;
            std::copy_if(values.begin(), values.end(), std::back_inserter(fromProducer),
                         [p](int v) { return v / perProducer == p; });
            EXPECT_TRUE(std::is_sorted(fromProducer.begin(), fromProducer.end()));
        }
        all.insert(all.end(), values.begin(), values.end());
    }
    std::sort(all.begin(), all.end());
    std::vector<int> expected(total);
    std::iota(expected.begin(), expected.end(), 0);
    EXPECT_EQ(expected, all);
    EXPECT_FALSE(queue.TryPop());
}

}  // namespace
