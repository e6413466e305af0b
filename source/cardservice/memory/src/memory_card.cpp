#include "memory_card.hpp"

#include <utility>

#include "memory_slot.hpp"

namespace cardservice::memory::detail {

MemoryCard::MemoryCard(std::weak_ptr<MemorySlot> slot, std::shared_ptr<CardInsertion> insertion,
                       std::shared_ptr<ReplyWorker> worker)
    : slot_(std::move(slot)),
      insertion_(std::move(insertion)),
      worker_(std::move(worker)),
      begunSession_(std::make_shared<std::atomic<bool>>(false)) {}

MemoryCard::~MemoryCard() {
    endSession();
}

std::shared_ptr<Slot> MemoryCard::slot() const {
    auto slot = slot_.lock();
    if (!slot || !slot->present()) {
        return nullptr;
    }
    return slot;
}

ErrorPtr MemoryCard::sessionError_() const {
    auto const slot = slot_.lock();
    if (!slot) {
        return std::make_shared<Error const>(TokenNotFound);
    }
    return slot->takeSessionError(*insertion_);
}

bool MemoryCard::inSession(std::function<bool()> const& block, ErrorPtr& error) {
    SessionScope session(*insertion_);
    error = sessionError_();
    if (error) {
        return false;
    }
    return block();
}

void MemoryCard::transmitRequest(Bytes const& request, TransmitReply reply) {
    auto const slot = slot_.lock();
    TransmitPlan plan = slot ? slot->takeTransmitPlan(*insertion_)
                             : TransmitPlan{false, std::make_shared<Error const>(TokenNotFound)};
    worker_->post([insertion = insertion_, command = request, reply = std::move(reply),
                   plan = std::move(plan)] {
        if (!plan.reachesCard) {
            reply(nullptr, plan.error);
            return;
        }
        Bytes const response = insertion->transmit(command);
        reply(&response, plan.error);
    });
}

void MemoryCard::beginSession(std::function<void(bool, ErrorPtr)> reply) {
    ErrorPtr error = sessionError_();
    worker_->post([insertion = insertion_, begun = begunSession_, reply = std::move(reply),
                   error = std::move(error)] {
        if (error) {
            reply(false, error);
            return;
        }
        // The service answers at once rather than queue the request behind an open session.
        if (!insertion->tryOpenSession()) {
            reply(false, std::make_shared<Error const>(CommunicationError));
            return;
        }
        *begun = true;
        reply(true, nullptr);
    });
}

void MemoryCard::endSession() {
    if (begunSession_->exchange(false)) {
        insertion_->closeSession();
    }
}

}  // namespace cardservice::memory::detail
