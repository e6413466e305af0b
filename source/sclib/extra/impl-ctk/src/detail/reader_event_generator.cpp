#include "sclib/impl/ctk/detail/reader_event_generator.hpp"

#include <cstdint>
#include <utility>
#include <variant>

#include "velk/log_writing_stream.hpp"
#include "velk/path.hpp"

namespace sclib::impl::ctk::detail {

ReaderEventGenerator::ReaderEventGenerator(ctkwrapper::Slot const& slot) : slot_(slot) {
    if (!slot_.isValid()) {
        std::lock_guard<std::mutex> lock(mutex_);
        ApplyState_(ctkwrapper::SlotState::Missing);
    }
}

void ReaderEventGenerator::Update(ctkwrapper::KvValue const& value) noexcept {
    std::lock_guard<std::mutex> lock(mutex_);
    Accept_(value);
}

boost::optional<ReaderEvent> ReaderEventGenerator::GetEvent() {
    std::exception_ptr failure;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        std::swap(failure, pending_);
        // Only the notified states, in order: the slot is not read here, because notifications
        // still on their way would then arrive after a newer state and count as changes (a late
        // Probing as a reset of the card just reported).
        for (auto const& value : std::exchange(refused_, {})) {
            Accept_(value);
        }
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
    return queue_.TryPop();
}

bool ReaderEventGenerator::HasSeenMissing() {
    std::lock_guard<std::mutex> lock(mutex_);
    return state_ == ctkwrapper::SlotState::Missing;
}

void ReaderEventGenerator::Accept_(ctkwrapper::KvValue const& value) {
    if (pending_) {
        velk::LogWritingStream(velk::GetLogger(), velk::LogLevel::Warning,
                               velk::GetFileName(__FILE__), __LINE__)
            << "Not updating slot state due to pending exceptions" << std::endl;
        refused_.push_back(value);
        return;
    }
    try {
        // The notified value, not the state now: a quick reset must not read as no change. Only
        // a service that notifies no state has the slot read.
        auto const* notified = std::get_if<std::int64_t>(&value);
        ApplyState_(notified ? ctkwrapper::toSlotState(*notified) : slot_.getState());
    } catch (...) {
        pending_ = std::current_exception();
    }
}

void ReaderEventGenerator::ApplyState_(ctkwrapper::SlotState state) {
    using ctkwrapper::SlotState;
    if (state_ == SlotState::Missing) {
        return;
    }
    if (state == SlotState::Probing) {
        // A valid card that is probed again has been reset. Probing itself is never stored,
        // so the card that then turns valid is not reported as inserted a second time.
        if (state_ == SlotState::ValidCard) {
            queue_.Push(ReaderEvent::ResetSmartcard);
        }
        return;
    }
    if (state == state_) {
        return;
    }
    switch (state) {
        case SlotState::Missing:
            queue_.Push(ReaderEvent::Unavailable);
            break;
        case SlotState::Empty:
            queue_.Push(ReaderEvent::RemoveSmartcard);
            break;
        case SlotState::MuteCard:
            queue_.Push(ReaderEvent::MuteSmartcard);
            break;
        case SlotState::ValidCard:
            queue_.Push(ReaderEvent::InsertSmartcard);
            break;
        case SlotState::Probing:
            break;
    }
    state_ = state;
}

}  // namespace sclib::impl::ctk::detail
