#include "testsupport/readers/card_insertion.hpp"

#include <stdexcept>
#include <utility>

namespace testsupport::readers {

CardInsertion::CardInsertion(std::shared_ptr<testsupport::cardsim::CardSimulator> card)
    : card_(std::move(card)) {
    if (!card_) {
        throw std::invalid_argument("CardInsertion: no card simulator");
    }
}

void CardInsertion::reset() {
    card_->reset();
    ++resets_;
}

void CardInsertion::failNextSession(std::exception_ptr error) {
    std::lock_guard<std::mutex> lock(failureMutex_);
    sessionFailure_ = std::move(error);
}

std::exception_ptr CardInsertion::takeSessionFailure() {
    std::lock_guard<std::mutex> lock(failureMutex_);
    return std::exchange(sessionFailure_, nullptr);
}

}  // namespace testsupport::readers
