#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>

#include "serial_queue.hpp"

namespace cardservice::impl::pcsc {

// Runs call on queue and waits at most timeout for its result; none when the wait gave up.
// The result lives in state shared with the job, so a call that finishes after the wait gave
// up writes there, never into the waiter's frame; late then receives that result, to undo
// what the call began (such as a transaction nobody will end).
template <typename T>
std::optional<T> boundedCall(SerialQueue& queue, std::chrono::milliseconds timeout,
                             std::function<T()> call, std::function<void(T&)> late = {}) {
    struct Outcome {
        std::mutex mutex;
        std::condition_variable ready;
        std::optional<T> value;
        bool gaveUp = false;
    };
    auto const outcome = std::make_shared<Outcome>();
    queue.post([outcome, call = std::move(call), late = std::move(late)] {
        T value = call();
        std::unique_lock<std::mutex> lock(outcome->mutex);
        if (outcome->gaveUp) {
            lock.unlock();
            if (late) {
                late(value);
            }
            return;
        }
        outcome->value = std::move(value);
        outcome->ready.notify_all();
    });
    std::unique_lock<std::mutex> lock(outcome->mutex);
    if (!outcome->ready.wait_for(lock, timeout, [&] { return outcome->value.has_value(); })) {
        outcome->gaveUp = true;
        return std::nullopt;
    }
    return std::move(outcome->value);
}

}  // namespace cardservice::impl::pcsc
