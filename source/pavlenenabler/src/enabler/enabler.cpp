#include "pavlenenabler/enabler/enabler.hpp"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <stdexcept>
#include <string>

#include "pavlenenabler/enabler/reader_diagnostic.hpp"
#include "sclib/exceptions.hpp"
#include "sclib/helpers/event_processor.hpp"
#include "sclib/provider.hpp"

namespace pavlenenabler::enabler {

namespace {

using sclib::helpers::EventProcessor;

// True on the event thread while it pumps: the caller is a card event handler.
thread_local bool inEventPass = false;

// The provider as the event thread pumps it, marking each pass. It also counts the moments the
// delivery settles: a pass that found nothing to deliver, or the event thread being stopped.
class PassMarkingProvider final : public sclib::Provider {
public:
    explicit PassMarkingProvider(sclib::Provider& provider) : provider_(provider) {}

    std::uint64_t settledCount() const {
        std::lock_guard<std::mutex> lock(settleMutex_);
        return settled_;
    }
    void settle() const {
        {
            std::lock_guard<std::mutex> lock(settleMutex_);
            ++settled_;
        }
        settledChange_.notify_all();
    }
    // Waits at most timeout for the delivery to settle after `after` had been counted.
    void waitUntilSettled(std::uint64_t after, std::chrono::seconds timeout) const {
        std::unique_lock<std::mutex> lock(settleMutex_);
        settledChange_.wait_for(lock, timeout, [&] { return settled_ > after; });
    }

    std::vector<std::shared_ptr<sclib::Reader>> GetReaders() const override {
        return provider_.GetReaders();
    }
    std::shared_ptr<sclib::Reader> GetReaderByName(std::string const& name) const override {
        return provider_.GetReaderByName(name);
    }
    bool ProcessEvents() const override {
        struct Mark {
            Mark() { inEventPass = true; }
            ~Mark() { inEventPass = false; }
        } const mark;
        bool const fired = provider_.ProcessEvents();
        if (!fired) {
            settle();
        }
        return fired;
    }
    std::shared_ptr<sclib::SystemMonitor> CreateSystemMonitor() const override {
        return provider_.CreateSystemMonitor();
    }
    std::shared_ptr<sclib::ReaderMonitor> CreateReaderMonitor(
        std::shared_ptr<sclib::Reader> reader) const override {
        return provider_.CreateReaderMonitor(std::move(reader));
    }

private:
    sclib::Provider& provider_;
    mutable std::mutex settleMutex_;
    mutable std::condition_variable settledChange_;
    mutable std::uint64_t settled_ = 0;  // under settleMutex_
};

// How long startCardEvent waits for the cards present to be reported.
constexpr std::chrono::seconds StartUpReportWait{10};

// The process's one event thread, shared by all Enablers.
//
// Exit order: an Enabler may be owned by an object with static storage that was built before
// this one (the engine's state is), so its destructor runs after every static built later.
// Therefore the delivery is never destroyed, and the event thread is stopped by an exit handler
// registered when it is first started: that runs before the destructors of everything built
// before it, the reader stack the thread pumps and such early owners included. Owners that call
// stopCardEvent or are destroyed later find the thread already stopped.
struct EventDelivery {
    explicit EventDelivery(sclib::Provider& readerProvider)
        : provider(readerProvider), pumped(readerProvider) {}

    sclib::Provider& provider;
    PassMarkingProvider pumped;
    // Held while the thread is stopped and joined or started; never taken on the event thread.
    std::mutex lifecycle;
    // Held only briefly, never while joining: handlers that stop the events take it. Guards the
    // members below and the notifier of every Enabler.
    std::mutex state;
    std::unique_ptr<EventProcessor> processor;
    bool delivering = false;    // processor started and not asked to stop
    std::size_t listeners = 0;  // Enablers with a notifier
    bool exitHandlerSet = false;
    bool exited = false;  // no thread is started once exit has begun
};

EventDelivery& eventDelivery() {
    // The provider is built first; see EventDelivery for why the delivery is never destroyed.
    static EventDelivery* const delivery = new EventDelivery(sclib::env::GetDefaultProvider());
    return *delivery;
}

// Under the state lock. The caller joins the returned thread after unlocking.
std::unique_ptr<EventProcessor> takeProcessor(EventDelivery& delivery) {
    delivery.delivering = false;
    delivery.pumped.settle();
    return std::move(delivery.processor);
}

// Under the lifecycle lock: stops and joins the event thread.
void stopProcessor(EventDelivery& delivery) {
    std::unique_ptr<EventProcessor> stopped;
    std::lock_guard<std::mutex> lock(delivery.state);
    stopped = takeProcessor(delivery);
}

void stopAtExit() {
    EventDelivery& delivery = eventDelivery();
    std::lock_guard<std::mutex> lifecycle(delivery.lifecycle);
    {
        std::lock_guard<std::mutex> lock(delivery.state);
        delivery.exited = true;
    }
    stopProcessor(delivery);
}

// Under both locks.
void startProcessor(EventDelivery& delivery) {
    if (delivery.exited) {
        return;
    }
    if (!delivery.exitHandlerSet && std::atexit(stopAtExit) == 0) {
        delivery.exitHandlerSet = true;
    }
    delivery.processor = std::make_unique<EventProcessor>(delivery.pumped);
    delivery.processor->start();
    delivery.delivering = true;
}

std::string connectionErrorText(sclib::SmartcardCommError const& e) {
    return std::string("Error while connecting smartcard: ") + e.what();
}

}  // namespace

Enabler::Enabler(iface::EnablerCallback& enablerCallback, iface::EventCallback& eventCallback)
    : readerCallback_(registration_, enablerCallback, eventCallback),
      eventCallback_(eventCallback),
      logCallback_(eventCallback) {
    eventDelivery();
}

Enabler::~Enabler() {
    EventDelivery& delivery = eventDelivery();
    std::lock_guard<std::mutex> lifecycle(delivery.lifecycle);
    bool wasDelivering = false;
    std::unique_ptr<EventProcessor> stopped;
    {
        std::lock_guard<std::mutex> lock(delivery.state);
        if (!notifier_) {
            return;
        }
        wasDelivering = delivery.delivering;
        stopped = takeProcessor(delivery);
    }
    // No pass may be under way while this Enabler's monitors and callback go away.
    stopped.reset();
    std::shared_ptr<sclib::helpers::CardNotifier> released;
    {
        std::lock_guard<std::mutex> lock(delivery.state);
        releaseNotifier_(released, delivery.listeners);
    }
    released.reset();
    std::lock_guard<std::mutex> lock(delivery.state);
    if (!wasDelivering || delivery.listeners == 0) {
        return;
    }
    try {
        startProcessor(delivery);
    } catch (...) {
        // The thread could not be started again: events stop for the other Enablers.
        takeProcessor(delivery);
    }
}

std::shared_ptr<iface::Smartcard> Enabler::findCard() {
    return searchCard().card;
}

iface::CardSearch Enabler::searchCard() {
    bool const eventsRun = eventsRun_();
    iface::CardSearch search;
    for (auto const& reader : sclib::env::GetDefaultProvider().GetReaders()) {
        try {
            if (auto card = registration_.cardInReader(reader, eventsRun)) {
                search.card = std::move(card);
                return search;
            }
            search.passedOver.push_back(
                {reader->GetName(), iface::PassedOverReason::CardNotAccepted, {}});
        } catch (sclib::NoSmartcardError const& e) {
            eventCallback_.eventLog(connectionErrorText(e));
            search.passedOver.push_back(
                {reader->GetName(), iface::PassedOverReason::NoCard, e.what()});
        } catch (sclib::SmartcardCommError const& e) {
            eventCallback_.eventLog(connectionErrorText(e));
            search.passedOver.push_back(
                {reader->GetName(), iface::PassedOverReason::ReaderError, e.what()});
        }
    }
    return search;
}

void Enabler::startCardEvent() {
    if (inEventPass) {
        throw std::logic_error("startCardEvent cannot be called from a card event handler");
    }
    EventDelivery& delivery = eventDelivery();
    auto notifier = sclib::helpers::CardNotifier::Create(delivery.provider, readerCallback_);
    std::uint64_t settledBefore = 0;
    bool started = false;
    {
        std::lock_guard<std::mutex> lifecycle(delivery.lifecycle);
        stopProcessor(delivery);
        {
            std::lock_guard<std::mutex> lock(delivery.state);
            if (!notifier_) {
                ++delivery.listeners;
            }
            notifier_.swap(notifier);
        }
        // The earlier notifier goes while no pass runs.
        notifier.reset();
        // Cards registered before may have changed while nobody watched.
        registration_.distrustRegistered();
        std::lock_guard<std::mutex> lock(delivery.state);
        settledBefore = delivery.pumped.settledCount();
        startProcessor(delivery);
        started = delivery.delivering;
    }
    // Until the event thread has nothing left to deliver, the cards present have not all been
    // reported: a card that left before its reader was watched would never be reported removed
    // to a caller that found it meanwhile. Waited for without a lock, as handlers may stop the
    // events.
    if (started) {
        delivery.pumped.waitUntilSettled(settledBefore, StartUpReportWait);
    }
}

void Enabler::stopCardEvent() {
    EventDelivery& delivery = eventDelivery();
    std::shared_ptr<sclib::helpers::CardNotifier> released;
    if (inEventPass) {
        // From a card event handler: the loop ends after this pass, and the next start or stop
        // on another thread joins it. The handler that called here stays alive until it returns.
        std::lock_guard<std::mutex> lock(delivery.state);
        if (delivery.processor && delivery.delivering) {
            delivery.processor->stop();
            delivery.delivering = false;
            delivery.pumped.settle();
        }
        releaseNotifier_(released, delivery.listeners);
    } else {
        std::lock_guard<std::mutex> lifecycle(delivery.lifecycle);
        stopProcessor(delivery);
        {
            std::lock_guard<std::mutex> lock(delivery.state);
            releaseNotifier_(released, delivery.listeners);
        }
        released.reset();
    }
    registration_.distrustRegistered();
}

bool Enabler::eventsRun_() const {
    EventDelivery& delivery = eventDelivery();
    std::lock_guard<std::mutex> lock(delivery.state);
    return notifier_ && delivery.delivering;
}

void Enabler::releaseNotifier_(std::shared_ptr<sclib::helpers::CardNotifier>& released,
                               std::size_t& listeners) {
    if (notifier_) {
        released = std::move(notifier_);
        --listeners;
    }
}

std::vector<std::shared_ptr<iface::ReaderDiagnostic>> Enabler::getReaderDiagnostics() const {
    std::vector<std::shared_ptr<iface::ReaderDiagnostic>> diagnostics;
    for (auto const& reader : sclib::env::GetDefaultProvider().GetReaders()) {
        auto const card = registration_.getSmartcard(reader);
        std::string name = reader->GetName();
        ReaderDiagnostic::Latencies latencies;
        std::string label;
        if (card) {
            // Taken before the label is read: that exchange shows in the next query.
            latencies = card->getLatencies().getAll();
            label = card->getTokenLabel();
        }
        diagnostics.push_back(std::make_shared<ReaderDiagnostic>(
            std::move(name), card != nullptr, std::move(label), std::move(latencies)));
    }
    return diagnostics;
}

}  // namespace pavlenenabler::enabler
