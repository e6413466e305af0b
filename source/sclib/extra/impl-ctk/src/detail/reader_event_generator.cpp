#include "sclib/impl/ctk/detail/reader_event_generator.hpp"

#include <cstdint>
#include <string>
#include <utility>
#include <variant>

#include "velk/log_writing_stream.hpp"
#include "velk/path.hpp"

namespace sclib::impl::ctk::detail {

namespace {

void logWarning(std::string const& text, unsigned line) {
    velk::LogWritingStream(velk::GetLogger(), velk::LogLevel::Warning, velk::GetFileName(__FILE__),
                           line)
        << text << std::endl;
}

}  // namespace

ReaderEventGenerator::ReaderEventGenerator(ctkwrapper::Slot const& slot) : slot_(slot) {
    if (!slot_.isValid()) {
        std::lock_guard<std::mutex> lock(mutex_);
        UpdateUnsafe_(ctkwrapper::SlotState::Missing);
    }
}

void ReaderEventGenerator::Update(ctkwrapper::KvValue const& value) noexcept {
    std::lock_guard<std::mutex> lock(mutex_);
    UpdateLocked_(value);
}

boost::optional<ReaderEvent> ReaderEventGenerator::GetEvent() {
    std::exception_ptr failure;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        std::swap(failure, pending_);
        if (failure) {
            Resume_();
        }
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
    return queue_.TryPop();
}

void ReaderEventGenerator::UpdateLocked_(ctkwrapper::KvValue const& value) {
    if (pending_) {
        logWarning("Not updating slot state due to pending exceptions", __LINE__);
        refused_.push_back(value);
        return;
    }
    try {
        // The notified value, not the state now: a quick reset must not read as no change.
        auto const* notified = std::get_if<std::int64_t>(&value);
        UpdateUnsafe_(notified ? ctkwrapper::toSlotState(*notified) : slot_.getState());
    } catch (...) {
        pending_ = std::current_exception();
    }
}

void ReaderEventGenerator::Resume_() {
    for (auto const& value : std::exchange(refused_, {})) {
        UpdateLocked_(value);
    }
    // The slot of a reader that has gone is not asked again.
    if (pending_ || state_ == ctkwrapper::SlotState::Missing) {
        return;
    }
    try {
        UpdateUnsafe_(slot_.getState());
    } catch (std::exception const& e) {
        // Not kept: it would only repeat the failure being handed out.
        logWarning(std::string("Slot state still unreadable: ") + e.what(), __LINE__);
    }
}

void ReaderEventGenerator::UpdateUnsafe_(ctkwrapper::SlotState state) {
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
