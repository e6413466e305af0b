#include "state_recorder.hpp"

#include <algorithm>

namespace cardservice::pcsc::testing {

StateRecorder::StateRecorder(std::shared_ptr<Slot> slot)
    : slot_(std::move(slot)), record_(std::make_shared<Record>()) {
    std::weak_ptr<Record> const weak = record_;
    id_ = slot_->addObserver("state", ObserveInitial, [weak](ObservedValue const& value) {
        auto const record = weak.lock();
        if (!record || !std::holds_alternative<std::int64_t>(value)) {
            return;
        }
        std::lock_guard<std::mutex> lock(record->mutex);
        record->states.push_back(std::get<std::int64_t>(value));
        record->changed.notify_all();
    });
}

StateRecorder::~StateRecorder() {
    slot_->removeObserver(id_);
}

bool StateRecorder::waitForSequence(std::size_t from, std::vector<std::int64_t> const& expected,
                                    std::chrono::milliseconds timeout) {
    std::unique_lock<std::mutex> lock(record_->mutex);
    return record_->changed.wait_for(lock, timeout, [&] {
        auto const& states = record_->states;
        if (states.size() < from + expected.size()) {
            return false;
        }
        return std::search(states.begin() + static_cast<std::ptrdiff_t>(from), states.end(),
                           expected.begin(), expected.end()) != states.end();
    });
}

bool StateRecorder::waitForState(std::int64_t expected, std::chrono::milliseconds timeout) {
    std::unique_lock<std::mutex> lock(record_->mutex);
    return record_->changed.wait_for(lock, timeout, [&] {
        return !record_->states.empty() && record_->states.back() == expected;
    });
}

std::size_t StateRecorder::count() const {
    std::lock_guard<std::mutex> lock(record_->mutex);
    return record_->states.size();
}

std::vector<std::int64_t> StateRecorder::states() const {
    std::lock_guard<std::mutex> lock(record_->mutex);
    return record_->states;
}

}  // namespace cardservice::pcsc::testing
