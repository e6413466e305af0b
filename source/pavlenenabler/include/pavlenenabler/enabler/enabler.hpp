#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "pavlenenabler/enabler/log_callback.hpp"
#include "pavlenenabler/enabler/reader_callback.hpp"
#include "pavlenenabler/enabler/smartcard_registration.hpp"
#include "pavlenenabler/iface/enabler.hpp"
#include "pavlenenabler/iface/enabler_callback.hpp"
#include "pavlenenabler/iface/event_callback.hpp"
#include "sclib/helpers/card_notifier.hpp"

namespace pavlenenabler::enabler {

// The card manager over the process's reader service. Event delivery runs on one process-wide
// event thread; the latest startCardEvent, of whichever Enabler, owns it, and it stops at process
// exit before the reader service goes. Both callbacks must outlive the Enabler, which must not be
// destroyed from inside one of its own callbacks.
class Enabler : public iface::Enabler {
public:
    // Installs the process logger that forwards to eventCallback. No reader access.
    Enabler(iface::EnablerCallback& enablerCallback, iface::EventCallback& eventCallback);
    // No event reaches this Enabler once it is destroyed; the event thread goes on while other
    // Enablers listen, and ends otherwise.
    ~Enabler() override;
    Enabler(Enabler const&) = delete;
    Enabler& operator=(Enabler const&) = delete;

    // One card has one object: a card registered while events run is handed out without looking
    // at the reader; otherwise an object kept for the reader is handed out again only while its
    // connection is still the card in the reader, and a new object is made for any other card.
    std::shared_ptr<iface::Smartcard> findCard() override;
    iface::CardSearch searchCard() override;
    // Replaces the running event thread, whoever started it, and returns once the cards present
    // have been reported (waiting 10 s at most, as for a reader that never settles). Refused
    // with std::logic_error from a card event handler.
    void startCardEvent() override;
    // Stops the event thread for every Enabler. From a card event handler the thread ends after
    // the event being handled.
    void stopCardEvent() override;
    // Reads each registered card's token label; nothing is caught.
    std::vector<std::shared_ptr<iface::ReaderDiagnostic>> getReaderDiagnostics() const override;

private:
    // Whether this Enabler's events keep the registration current.
    bool eventsRun_() const;
    // Under the event delivery's lock.
    void releaseNotifier_(std::shared_ptr<sclib::helpers::CardNotifier>& released,
                          std::size_t& listeners);

    std::shared_ptr<sclib::helpers::CardNotifier> notifier_;  // under the event delivery's lock
    SmartcardRegistration registration_;
    ReaderCallback readerCallback_;
    iface::EventCallback& eventCallback_;
    LogCallback logCallback_;
};

}  // namespace pavlenenabler::enabler
