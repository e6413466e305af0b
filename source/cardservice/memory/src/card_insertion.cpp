#include "card_insertion.hpp"

#include <utility>

#include "velk/erase_memory.hpp"

namespace cardservice::memory::detail {

CardInsertion::CardInsertion(std::shared_ptr<testsupport::cardsim::CardSimulator> card)
    : card_(std::move(card)) {}

Bytes CardInsertion::transmit(Bytes const& command) {
    testsupport::cardsim::ByteVector answer = card_->transmit(command.data(), command.size());
    Bytes response(answer.begin(), answer.end());
    velk::EraseMemory(answer.data(), answer.size());
    return response;
}

AtrBytes CardInsertion::atr() const {
    auto const& atr = card_->atr();
    return AtrBytes(atr.begin(), atr.end());
}

void CardInsertion::reset() {
    card_->reset();
    mute_ = false;
}

void CardInsertion::openSession() {
    std::unique_lock<std::mutex> lock(sessionMutex_);
    sessionClosed_.wait(lock, [this] { return !sessionOpen_; });
    sessionOpen_ = true;
}

bool CardInsertion::tryOpenSession() {
    std::lock_guard<std::mutex> lock(sessionMutex_);
    if (sessionOpen_) {
        return false;
    }
    sessionOpen_ = true;
    return true;
}

void CardInsertion::closeSession() {
    {
        std::lock_guard<std::mutex> lock(sessionMutex_);
        sessionOpen_ = false;
    }
    sessionClosed_.notify_one();
}

bool CardInsertion::sessionOpen() const {
    std::lock_guard<std::mutex> lock(sessionMutex_);
    return sessionOpen_;
}

}  // namespace cardservice::memory::detail
