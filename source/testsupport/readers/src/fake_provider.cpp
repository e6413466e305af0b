#include "testsupport/readers/fake_provider.hpp"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "detail/fake_reader_monitor.hpp"
#include "detail/fake_system_monitor.hpp"
#include "detail/provider_state.hpp"
#include "velk/text.hpp"

namespace testsupport::readers {

FakeProvider::FakeProvider() : state_(std::make_shared<detail::ProviderState>()) {}

FakeProvider::~FakeProvider() = default;

std::vector<std::shared_ptr<sclib::Reader>> FakeProvider::GetReaders() const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    return {state_->present.begin(), state_->present.end()};
}

std::shared_ptr<sclib::Reader> FakeProvider::GetReaderByName(std::string const& name) const {
    auto const wanted = velk::stringToUpper(name);
    for (auto const& reader : GetReaders()) {
        if (velk::stringToUpper(reader->GetName()) == wanted) {
            return reader;
        }
    }
    return nullptr;
}

bool FakeProvider::ProcessEvents() const {
    std::vector<std::shared_ptr<detail::FakeMonitor>> monitors;
    {
        std::lock_guard<std::mutex> lock(state_->mutex);
        if (auto error = std::exchange(state_->pendingError, nullptr)) {
            std::rethrow_exception(error);
        }
        monitors = state_->liveMonitors();
    }
    // The copies keep each monitor alive while it fires, whatever its subscribers release.
    for (auto const& monitor : monitors) {
        if (monitor->process()) {
            return true;
        }
    }
    return false;
}

std::shared_ptr<sclib::SystemMonitor> FakeProvider::CreateSystemMonitor() const {
    auto monitor = std::make_shared<detail::FakeSystemMonitor>(state_);
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->monitors.emplace_back(monitor);
    return monitor;
}

std::shared_ptr<sclib::ReaderMonitor> FakeProvider::CreateReaderMonitor(
    std::shared_ptr<sclib::Reader> reader) const {
    auto monitor = std::make_shared<detail::FakeReaderMonitor>(state_, std::move(reader));
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->monitors.emplace_back(monitor);
    return monitor;
}

std::shared_ptr<FakeReader> FakeProvider::addReader(std::string const& name) {
    std::lock_guard<std::mutex> lock(state_->mutex);
    auto const& present = state_->present;
    if (std::any_of(present.begin(), present.end(),
                    [&name](auto const& reader) { return reader->GetName() == name; })) {
        throw std::invalid_argument("FakeProvider: reader already present: " + name);
    }
    auto reader = state_->known[name].lock();
    if (!reader) {
        reader = std::make_shared<FakeReader>(name);
        state_->known[name] = reader;
    }
    {
        std::lock_guard<std::mutex> readerLock(reader->mutex_);
        reader->present_ = true;
        reader->insertion_.reset();
    }
    state_->present.push_back(reader);
    for (auto const& monitor : state_->liveMonitors()) {
        monitor->readerAdded(reader);
    }
    return reader;
}

void FakeProvider::removeReader(std::string const& name) {
    std::lock_guard<std::mutex> lock(state_->mutex);
    auto const reader = state_->presentReader(name);
    state_->present.erase(std::find(state_->present.begin(), state_->present.end(), reader));
    {
        std::lock_guard<std::mutex> readerLock(reader->mutex_);
        reader->present_ = false;
        if (reader->insertion_) {
            reader->insertion_->remove();
            reader->insertion_.reset();
        }
    }
    for (auto const& monitor : state_->liveMonitors()) {
        monitor->readerRemoved(reader);
    }
}

void FakeProvider::insertCard(std::string const& readerName,
                              std::shared_ptr<testsupport::cardsim::CardSimulator> card) {
    auto insertion = std::make_shared<CardInsertion>(std::move(card));
    std::lock_guard<std::mutex> lock(state_->mutex);
    auto const reader = state_->presentReader(readerName);
    {
        std::lock_guard<std::mutex> readerLock(reader->mutex_);
        if (reader->insertion_) {
            throw std::invalid_argument("FakeProvider: a card is already in " + readerName);
        }
        reader->insertion_ = std::move(insertion);
    }
    for (auto const& monitor : state_->liveMonitors()) {
        monitor->cardInserted(reader.get());
    }
}

void FakeProvider::removeCard(std::string const& readerName) {
    std::lock_guard<std::mutex> lock(state_->mutex);
    auto const reader = state_->presentReader(readerName);
    {
        std::lock_guard<std::mutex> readerLock(reader->mutex_);
        if (!reader->insertion_) {
            throw std::invalid_argument("FakeProvider: no card in " + readerName);
        }
        reader->insertion_->remove();
        reader->insertion_.reset();
    }
    for (auto const& monitor : state_->liveMonitors()) {
        monitor->cardRemoved(reader.get());
    }
}

void FakeProvider::resetCard(std::string const& readerName) {
    std::shared_ptr<CardInsertion> insertion;
    {
        std::lock_guard<std::mutex> lock(state_->mutex);
        auto const reader = state_->presentReader(readerName);
        std::lock_guard<std::mutex> readerLock(reader->mutex_);
        insertion = reader->insertion_;
    }
    if (!insertion) {
        throw std::invalid_argument("FakeProvider: no card in " + readerName);
    }
    insertion->reset();
}

void FakeProvider::throwOnNextProcess(std::exception_ptr error) {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->pendingError = std::move(error);
}

std::size_t FakeProvider::liveMonitorCount() const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->liveMonitors().size();
}

std::size_t FakeProvider::pumpUntilIdle(std::size_t maxPasses) const {
    std::size_t fired = 0;
    while (fired < maxPasses && ProcessEvents()) {
        ++fired;
    }
    return fired;
}

}  // namespace testsupport::readers
