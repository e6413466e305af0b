#include "pavlenenabler/enabler/enabler.hpp"

#include <mutex>
#include <string>

#include <boost/optional.hpp>

#include "pavlenenabler/enabler/card_acceptance.hpp"
#include "pavlenenabler/enabler/reader_diagnostic.hpp"
#include "sclib/exceptions.hpp"
#include "sclib/helpers/event_processor.hpp"
#include "sclib/provider.hpp"
#include "velk/mutex_noexcept.hpp"

namespace pavlenenabler::enabler {

namespace {

// The process's one event thread, shared by all Enablers.
struct EventDelivery {
    velk::MutexNoexcept mutex;
    boost::optional<sclib::helpers::EventProcessor> processor;  // under mutex
};

EventDelivery& eventDelivery() {
    // The provider comes first, so it is destroyed after the event thread has stopped at exit.
    static sclib::Provider& provider = sclib::env::GetDefaultProvider();
    static EventDelivery delivery;
    static_cast<void>(provider);
    return delivery;
}

std::string connectionErrorText(sclib::SmartcardCommError const& e) {
    return std::string("Error while connecting smartcard: ") + e.what();
}

}  // namespace

Enabler::Enabler(iface::EnablerCallback& enablerCallback, iface::EventCallback& eventCallback)
    : readerCallback_(registration_, enablerCallback, eventCallback),
      eventCallback_(eventCallback),
      logCallback_(eventCallback) {}

Enabler::~Enabler() {
    if (!notifier_) {
        return;
    }
    EventDelivery& delivery = eventDelivery();
    std::lock_guard<velk::MutexNoexcept> lock(delivery.mutex);
    bool const running = delivery.processor && delivery.processor->isStarted();
    try {
        // No pass may be under way while this Enabler's monitors and callback go away.
        if (running) {
            delivery.processor->stop();
        }
        notifier_.reset();
        if (running) {
            delivery.processor->start();
        }
    } catch (...) {
        // The thread could not be started again: events stop, nothing reaches a dead Enabler.
        delivery.processor.reset();
    }
}

std::shared_ptr<iface::Smartcard> Enabler::findCard() {
    return searchCard().card;
}

iface::CardSearch Enabler::searchCard() {
    iface::CardSearch search;
    for (auto const& reader : sclib::env::GetDefaultProvider().GetReaders()) {
        try {
            if (auto registered = registration_.getSmartcard(reader)) {
                search.card = std::move(registered);
                return search;
            }
            if (auto card = acceptCard(*reader)) {
                search.card = registration_.keepFound(reader, card);
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
    sclib::Provider& provider = sclib::env::GetDefaultProvider();
    auto notifier = sclib::helpers::CardNotifier::Create(provider, readerCallback_);
    EventDelivery& delivery = eventDelivery();
    std::lock_guard<velk::MutexNoexcept> lock(delivery.mutex);
    delivery.processor.reset();  // stops and joins
    // The earlier notifier goes while no pass runs.
    notifier_.swap(notifier);
    notifier.reset();
    delivery.processor.emplace(provider);
    delivery.processor->start();
}

void Enabler::stopCardEvent() {
    EventDelivery& delivery = eventDelivery();
    std::lock_guard<velk::MutexNoexcept> lock(delivery.mutex);
    delivery.processor.reset();
    notifier_.reset();
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
