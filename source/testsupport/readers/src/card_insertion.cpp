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

}  // namespace testsupport::readers
