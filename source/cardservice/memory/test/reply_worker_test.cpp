#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "reply_worker.hpp"

namespace cardservice::memory::detail::test {
namespace {

constexpr auto timeout = std::chrono::seconds(10);

TEST(ReplyWorker, RunsTasksInOrderOnItsOwnThread) {
    ReplyWorker worker;
    std::vector<int> order;
    std::promise<std::thread::id> done;
    auto thread = done.get_future();
    for (int i = 0; i < 5; ++i) {
        worker.post([&order, i] { order.push_back(i); });
    }
    worker.post([&done] { done.set_value(std::this_thread::get_id()); });
    ASSERT_EQ(thread.wait_for(timeout), std::future_status::ready);
    EXPECT_NE(thread.get(), std::this_thread::get_id());
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4}));
}

TEST(ReplyWorker, DestructionRunsEveryPostedTaskOnce) {
    std::atomic<int> runs{0};
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    {
        ReplyWorker worker;
        // The first task holds the thread so that the others are still queued at destruction.
        worker.post([released] { released.wait_for(timeout); });
        for (int i = 0; i < 100; ++i) {
            worker.post([&runs] { ++runs; });
        }
        release.set_value();
    }
    EXPECT_EQ(runs.load(), 100);
}

TEST(ReplyWorker, ThrowingTaskDoesNotStopTheOthers) {
    ReplyWorker worker;
    std::promise<void> done;
    auto future = done.get_future();
    worker.post([] { throw std::runtime_error("reply failed"); });
    worker.post([&done] { done.set_value(); });
    EXPECT_EQ(future.wait_for(timeout), std::future_status::ready);
}

TEST(ReplyWorker, TaskMayReleaseTheLastOwnerOfItsWorker) {
    auto worker = std::make_shared<ReplyWorker>();
    auto done = std::make_shared<std::promise<void>>();
    auto future = done->get_future();
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    worker->post([owner = worker, released] { released.wait_for(timeout); });
    worker->post([done] { done->set_value(); });
    worker.reset();
    release.set_value();
    EXPECT_EQ(future.wait_for(timeout), std::future_status::ready);
}

}  // namespace
}  // namespace cardservice::memory::detail::test
