#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "cardservice/card_service.hpp"

namespace cardservice::pcsc::testing {

// Records every "state" a slot reports, for tests that wait for a card to come or go.
class StateRecorder {
public:
    explicit StateRecorder(std::shared_ptr<Slot> slot);
    ~StateRecorder();
    StateRecorder(StateRecorder const&) = delete;
    StateRecorder& operator=(StateRecorder const&) = delete;

    // Waits at most timeout until the states recorded after the first `from` end with
    // expected; true when they do.
    bool waitForSequence(std::size_t from, std::vector<std::int64_t> const& expected,
                         std::chrono::milliseconds timeout = std::chrono::seconds(15));
    // Waits at most timeout until the last recorded state is expected.
    bool waitForState(std::int64_t expected,
                      std::chrono::milliseconds timeout = std::chrono::seconds(15));

    std::size_t count() const;
    std::vector<std::int64_t> states() const;

private:
    struct Record {
        mutable std::mutex mutex;
        std::condition_variable changed;
        std::vector<std::int64_t> states;
    };

    std::shared_ptr<Slot> slot_;
    std::shared_ptr<Record> record_;
    KeyValueObservable::ObservationId id_;
};

}  // namespace cardservice::pcsc::testing
