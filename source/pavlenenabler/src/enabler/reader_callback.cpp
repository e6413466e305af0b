#include "pavlenenabler/enabler/reader_callback.hpp"

#include <string>

#include "sclib/exceptions.hpp"

namespace pavlenenabler::enabler {

void ReaderCallback::cardInserted(std::shared_ptr<sclib::Reader> reader) {
    try {
        if (auto card = registration_.registerInsertedCard(reader)) {
            enablerCallback_.cardInserted(std::move(card));
        }
    } catch (sclib::SmartcardCommError const& e) {
        eventCallback_.eventLog(std::string("Error while connecting smartcard: ") + e.what());
    }
}

void ReaderCallback::cardRemoved(std::shared_ptr<sclib::Reader> reader) {
    if (auto card = registration_.erase(reader)) {
        enablerCallback_.cardRemoved(std::move(card));
    }
}

}  // namespace pavlenenabler::enabler
