#pragma once

#include <atomic>
#include <functional>
#include <memory>

#include "card_insertion.hpp"
#include "cardservice/card_service.hpp"
#include "reply_worker.hpp"

namespace cardservice::memory::detail {

class MemorySlot;

// A card object made from one insertion. It keeps working after a reset; once the card or the
// reader has gone, its sessions and transmissions fail with TokenNotFound.
class MemoryCard : public Card {
public:
    MemoryCard(std::weak_ptr<MemorySlot> slot, std::shared_ptr<CardInsertion> insertion,
               std::shared_ptr<ReplyWorker> worker);
    ~MemoryCard() override;

    std::shared_ptr<Slot> slot() const override;
    bool inSession(std::function<bool()> const& block, ErrorPtr& error) override;
    void transmitRequest(Bytes const& request, TransmitReply reply) override;
    void beginSession(std::function<void(bool, ErrorPtr)> reply) override;
    void endSession() override;
    bool sensitive() const override { return sensitive_; }
    void setSensitive(bool sensitive) override { sensitive_ = sensitive; }

private:
    ErrorPtr sessionError_() const;

    std::weak_ptr<MemorySlot> const slot_;
    std::shared_ptr<CardInsertion> const insertion_;
    std::shared_ptr<ReplyWorker> const worker_;
    std::atomic<bool> sensitive_{false};
    // Shared with the reply of beginSession, which may run after this object has gone: the
    // session that beginSession opened, until endSession closes it.
    std::shared_ptr<std::atomic<bool>> begunSession_;
};

}  // namespace cardservice::memory::detail
