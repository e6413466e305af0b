#include "pavlenenabler/enabler/reader_callback.hpp"

#include <string>

#include "pavlenenabler/enabler/card_acceptance.hpp"
#include "sclib/exceptions.hpp"

namespace pavlenenabler::enabler {

void ReaderCallback::cardInserted(std::shared_ptr<sclib::Reader> reader) {
    try {
        // The card that findCard already handed out keeps its object (and its login).
        std::shared_ptr<Smartcard> card = registration_.takeFound(reader);
        if (!card) {
            card = acceptCard(*reader);
        }
        if (!card) {
            return;
        }
        card = registration_.insertUnlessFound(reader, std::move(card));
        enablerCallback_.cardInserted(card);
    } catch (sclib::SmartcardCommError const& e) {
        eventCallback_.eventLog(std::string("Error while connecting smartcard: ") + e.what());
    }
}

void ReaderCallback::cardRemoved(std::shared_ptr<sclib::Reader> reader) {
    auto card = registration_.getSmartcard(reader);
    if (registration_.erase(reader) && card) {
        enablerCallback_.cardRemoved(std::move(card));
    }
}

}  // namespace pavlenenabler::enabler
