#pragma once

#include <memory>

#include "pavlenenabler/enabler/smartcard_registration.hpp"
#include "pavlenenabler/iface/enabler_callback.hpp"
#include "pavlenenabler/iface/event_callback.hpp"
#include "sclib/helpers/reader_callback.hpp"

namespace pavlenenabler::enabler {

// Turns the reader events of the event thread into registered card objects and calls of the
// user's callbacks.
class ReaderCallback : public sclib::helpers::ReaderCallback {
public:
    ReaderCallback(SmartcardRegistration& registration, iface::EnablerCallback& enablerCallback,
                   iface::EventCallback& eventCallback)
        : registration_(registration),
          enablerCallback_(enablerCallback),
          eventCallback_(eventCallback) {}

    // Reader errors, the user's callback's included, become an event text; other exceptions
    // propagate to the event thread.
    void cardInserted(std::shared_ptr<sclib::Reader> reader) override;
    void cardRemoved(std::shared_ptr<sclib::Reader> reader) override;

private:
    SmartcardRegistration& registration_;
    iface::EnablerCallback& enablerCallback_;
    iface::EventCallback& eventCallback_;
};

}  // namespace pavlenenabler::enabler
