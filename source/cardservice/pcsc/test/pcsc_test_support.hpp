#pragma once

#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "cardservice/card_service.hpp"

namespace cardservice::pcsc::testing {

// The reader the vpcd driver offers for the virtual card.
inline std::string const VirtualReader = "Virtual PCD 00 00";

constexpr std::chrono::seconds ReplyTimeout{15};

// scripts/test.sh sets this: there a missing daemon is a failure, elsewhere a reason to skip.
inline bool daemonRequired() {
    return std::getenv("VELK_PCSC_REQUIRED") != nullptr;
}

struct TransmitOutcome {
    std::optional<Bytes> response;
    ErrorPtr error;
    std::thread::id replyThread;
};

// Sends one command and waits at most ReplyTimeout for the reply; none when it did not come.
inline std::optional<TransmitOutcome> transmitAndWait(Card& card, Bytes const& command) {
    auto promise = std::make_shared<std::promise<TransmitOutcome>>();
    std::future<TransmitOutcome> future = promise->get_future();
    card.transmitRequest(command, [promise](Bytes const* response, ErrorPtr error) {
        TransmitOutcome outcome;
        if (response != nullptr) {
            outcome.response = *response;
        }
        outcome.error = std::move(error);
        outcome.replyThread = std::this_thread::get_id();
        promise->set_value(std::move(outcome));
    });
    if (future.wait_for(ReplyTimeout) != std::future_status::ready) {
        return std::nullopt;
    }
    return future.get();
}

// Runs job on a thread of its own and waits at most ReplyTimeout; false when it has not ended.
// A thread stuck in a deadlock is left behind, so that the test fails instead of hanging.
inline bool endsInTime(std::function<void()> job) {
    auto done = std::make_shared<std::promise<void>>();
    std::future<void> ended = done->get_future();
    std::thread thread([job = std::move(job), done] {
        job();
        done->set_value();
    });
    if (ended.wait_for(ReplyTimeout) != std::future_status::ready) {
        thread.detach();
        return false;
    }
    thread.join();
    return true;
}

// The slot of that name, or null; also null when no reply came within ReplyTimeout.
inline std::shared_ptr<Slot> slotNamed(SlotManager const& manager, std::string const& name) {
    auto promise = std::make_shared<std::promise<std::shared_ptr<Slot>>>();
    std::future<std::shared_ptr<Slot>> future = promise->get_future();
    manager.getSlotWithName(name,
                            [promise](std::shared_ptr<Slot> slot) { promise->set_value(slot); });
    if (future.wait_for(ReplyTimeout) != std::future_status::ready) {
        return nullptr;
    }
    return future.get();
}

}  // namespace cardservice::pcsc::testing
