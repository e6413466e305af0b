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
    if (auto const* names = std::get_if<std::vector<std::string>>(&value)) {
        AcceptNotified_(*names);
    } else {
        // A service that notifies no list leaves it to be read.
        AcceptCurrent_();
    }
}

void SystemEventGenerator::UpdateFromProvider() noexcept {
    std::lock_guard<std::mutex> lock(mutex_);
    AcceptCurrent_();
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

void SystemEventGenerator::AcceptNotified_(std::vector<std::string> const& names) {
    if (pending_) {
        refused_.push_back(names);
        return;
    }
    // The notified list, not the list now: a reader that comes and goes quickly is reported.
    Apply_([&names] { return GetProvider().MakeReadersNamed(names); });
}

void SystemEventGenerator::AcceptCurrent_() {
    if (!pending_) {
        Apply_([] { return GetProvider().GetReaders(); });
    }
}

void SystemEventGenerator::Resume_() {
    for (auto const& names : std::exchange(refused_, {})) {
        AcceptNotified_(names);
    }
    if (pending_) {
        return;
    }
    try {
        ApplyReaders_(GetProvider().GetReaders());
    } catch (std::exception const& e) {
        // Not kept: it would only repeat the failure being handed out.
        velk::LogWritingStream(velk::GetLogger(), velk::LogLevel::Warning,
                               velk::GetFileName(__FILE__), __LINE__)
            << "Reader list still unreadable: " << e.what() << std::endl;
    }
}

void SystemEventGenerator::Apply_(std::function<Readers()> const& list) {
    try {
        ApplyReaders_(list());
    } catch (...) {
        pending_ = std::current_exception();
    }
}

void SystemEventGenerator::ApplyReaders_(Readers&& now) {
    std::sort(now.begin(), now.end());
    Readers added;
    Readers removed;
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
