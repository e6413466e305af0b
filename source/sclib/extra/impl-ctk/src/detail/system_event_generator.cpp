#include "sclib/impl/ctk/detail/system_event_generator.hpp"

#include <algorithm>
#include <iterator>
#include <string>
#include <utility>
#include <variant>

#include "sclib/impl/ctk/provider.hpp"
#include "velk/log_writing_stream.hpp"
#include "velk/path.hpp"

namespace sclib::impl::ctk::detail {

void SystemEventGenerator::Update(ctkwrapper::KvValue const& value) noexcept {
    std::lock_guard<std::mutex> lock(mutex_);
    UpdateLocked_(value);
}

void SystemEventGenerator::Update() noexcept {
    Update(ctkwrapper::KvValue{});
}

boost::optional<SystemEvent> SystemEventGenerator::GetEvent() {
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

void SystemEventGenerator::UpdateLocked_(ctkwrapper::KvValue const& value) {
    if (pending_) {
        refused_.push_back(value);
        return;
    }
    try {
        // The notified list, not the list now: a reader that comes and goes quickly is reported.
        auto const* names = std::get_if<std::vector<std::string>>(&value);
        UpdateUnsafe_(names ? GetProvider().GetReadersNamed(*names) : GetProvider().GetReaders());
    } catch (...) {
        pending_ = std::current_exception();
    }
}

void SystemEventGenerator::Resume_() {
    for (auto const& value : std::exchange(refused_, {})) {
        UpdateLocked_(value);
    }
    if (pending_) {
        return;
    }
    try {
        UpdateUnsafe_(GetProvider().GetReaders());
    } catch (std::exception const& e) {
        // Not kept: it would only repeat the failure being handed out.
        velk::LogWritingStream(velk::GetLogger(), velk::LogLevel::Warning,
                               velk::GetFileName(__FILE__), __LINE__)
            << "Reader list still unreadable: " << e.what() << std::endl;
    }
}

void SystemEventGenerator::UpdateUnsafe_(std::vector<std::shared_ptr<sclib::Reader>>&& now) {
    std::sort(now.begin(), now.end());
    std::vector<std::shared_ptr<sclib::Reader>> added;
    std::vector<std::shared_ptr<sclib::Reader>> removed;
    std::set_difference(now.begin(), now.end(), previous_.begin(), previous_.end(),
                        std::back_inserter(added));
    std::set_difference(previous_.begin(), previous_.end(), now.begin(), now.end(),
                        std::back_inserter(removed));
    previous_ = std::move(now);
    for (auto& reader : added) {
        queue_.Push({std::move(reader), SystemEvent::ReaderAdded});
    }
    for (auto& reader : removed) {
        queue_.Push({std::move(reader), SystemEvent::ReaderRemoved});
    }
}

}  // namespace sclib::impl::ctk::detail
