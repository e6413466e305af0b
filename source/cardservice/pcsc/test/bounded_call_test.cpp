#include "bounded_call.hpp"

#include <gtest/gtest.h>

#include <future>

namespace cardservice::impl::pcsc {
namespace {

using std::chrono::milliseconds;

TEST(BoundedCall, ReturnsTheResultOfACallThatAnswersInTime) {
    SerialQueue queue;
    std::optional<int> const result =
        boundedCall<int>(queue, std::chrono::seconds(10), [] { return 7; });
    EXPECT_EQ(result, 7);
}

TEST(BoundedCall, LateResultGoesToTheUndoNotToTheWaiter) {
    SerialQueue queue;
    std::promise<void> release;
    std::shared_future<void> const released = release.get_future().share();
    std::promise<int> undone;
    std::future<int> undoneResult = undone.get_future();
    {
        std::optional<int> const result = boundedCall<int>(
            queue, milliseconds(20),
            [released] {
                released.wait();
                return 42;
            },
            [&undone](int& late) { undone.set_value(late); });
        EXPECT_FALSE(result.has_value());
    }
    // The waiter's frame is gone; the call finishes now and must touch only shared state.
    release.set_value();
    ASSERT_EQ(undoneResult.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_EQ(undoneResult.get(), 42);
}

TEST(BoundedCall, QueueRunsEveryJobInOrderBeforeItGoes) {
    std::vector<int> order;
    {
        SerialQueue queue;
        for (int i = 0; i < 5; ++i) {
            queue.post([&order, i] { order.push_back(i); });
        }
        queue.post([] { throw std::runtime_error("a failing job stays in its thread"); });
        queue.post([&order] { order.push_back(5); });
    }
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4, 5}));
}

}  // namespace
}  // namespace cardservice::impl::pcsc
