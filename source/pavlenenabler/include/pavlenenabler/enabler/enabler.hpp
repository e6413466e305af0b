#pragma once

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
// event thread; the latest startCardEvent, of whichever Enabler, owns it. Both callbacks must
// outlive the Enabler, which must not be destroyed from inside one of its own callbacks.
class Enabler : public iface::Enabler {
public:
    // Installs the process logger that forwards to eventCallback. No reader access.
    Enabler(iface::EnablerCallback& enablerCallback, iface::EventCallback& eventCallback);
    // No event reaches this Enabler once it is destroyed; the event thread goes on for others.
    ~Enabler() override;
    Enabler(Enabler const&) = delete;
    Enabler& operator=(Enabler const&) = delete;

    // A card already registered for a reader is returned as is, so that one card has one object.
    std::shared_ptr<iface::Smartcard> findCard() override;
    iface::CardSearch searchCard() override;
    // Replaces the running event thread, whoever started it.
    void startCardEvent() override;
    void stopCardEvent() override;
    // Reads each registered card's token label; nothing is caught.
    std::vector<std::shared_ptr<iface::ReaderDiagnostic>> getReaderDiagnostics() const override;

private:
    std::shared_ptr<sclib::helpers::CardNotifier> notifier_;
    SmartcardRegistration registration_;
    ReaderCallback readerCallback_;
    iface::EventCallback& eventCallback_;
    LogCallback logCallback_;
};

}  // namespace pavlenenabler::enabler
