#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "sclib/helpers/reader_callback.hpp"

namespace sclib::test {

// Records every call as "inserted:NAME" or "removed:NAME", with the calling thread; then a hook
// may act (throw, call back into the notifier).
class RecordingCallback : public helpers::ReaderCallback {
public:
    using Hook = std::function<void(std::string const& event, std::shared_ptr<Reader> const&)>;

    void cardInserted(std::shared_ptr<Reader> reader) override { record("inserted", reader); }
    void cardRemoved(std::shared_ptr<Reader> reader) override { record("removed", reader); }

    void setHook(Hook hook) {
        std::lock_guard<std::mutex> lock(mutex_);
        hook_ = std::move(hook);
    }
    std::vector<std::string> events() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return events_;
    }
    std::vector<std::thread::id> threads() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return threads_;
    }
    // Waits at most five seconds for count calls; false if they did not come.
    bool waitForEvents(std::size_t count) const {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, std::chrono::seconds(5),
                                 [&] { return events_.size() >= count; });
    }

private:
    void record(std::string const& kind, std::shared_ptr<Reader> const& reader) {
        auto const event = kind + ":" + reader->GetName();
        Hook hook;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            events_.push_back(event);
            threads_.push_back(std::this_thread::get_id());
            hook = hook_;
        }
        changed_.notify_all();
        if (hook) {
            hook(event, reader);
        }
    }

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    Hook hook_;
    std::vector<std::string> events_;
    std::vector<std::thread::id> threads_;
};

}  // namespace sclib::test
