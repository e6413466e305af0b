#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "pavlenenabler/iface/enabler_callback.hpp"
#include "pavlenenabler/iface/event_callback.hpp"

namespace pavlenenabler::test {

// The user of an Enabler: keeps the cards reported and the event texts, and lets a test wait for
// them with a bound.
class EnablerRecorder : public iface::EnablerCallback, public iface::EventCallback {
public:
    struct Event {
        bool inserted;
        std::shared_ptr<iface::Smartcard> card;
    };

    // Runs on the event thread after each insertion is recorded, without the recorder's lock.
    std::function<void()> afterInsertion;

    void cardInserted(std::shared_ptr<iface::Smartcard> card) override {
        record_({true, card});
        if (afterInsertion) {
            afterInsertion();
        }
    }
    void cardRemoved(std::shared_ptr<iface::Smartcard> card) override { record_({false, card}); }
    void eventLog(std::string const& text) override {
        std::lock_guard<std::mutex> lock(mutex_);
        texts_.push_back(text);
    }

    // False when fewer than count card events came within the bound.
    bool waitForEvents(std::size_t count) {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, std::chrono::seconds(10),
                                 [&] { return events_.size() >= count; });
    }

    std::vector<Event> events() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return events_;
    }

    // The event texts that contain part.
    std::vector<std::string> texts(std::string const& part) const {
        std::lock_guard<std::mutex> lock(mutex_);
        std::vector<std::string> found;
        for (auto const& text : texts_) {
            if (text.find(part) != std::string::npos) {
                found.push_back(text);
            }
        }
        return found;
    }

private:
    void record_(Event event) {
        std::lock_guard<std::mutex> lock(mutex_);
        events_.push_back(std::move(event));
        changed_.notify_all();
    }

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Event> events_;
    std::vector<std::string> texts_;
};

}  // namespace pavlenenabler::test
