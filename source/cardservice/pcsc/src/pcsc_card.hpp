#pragma once

#include <atomic>
#include <memory>

#include "card_connection.hpp"
#include "cardservice/card_service.hpp"
#include "serial_queue.hpp"

namespace cardservice::impl::pcsc {

class PcscSlot;

// A card connected through PC/SC. Every call into the daemon runs on the card's I/O thread and
// is waited for with a bound; replies come from a second thread, which does that waiting.
class PcscCard : public Card {
public:
    // Null when the card cannot be connected, or the daemon did not answer in time.
    static std::shared_ptr<PcscCard> connect(std::shared_ptr<PcscSlot> const& slot);

    ~PcscCard() override;

    std::shared_ptr<Slot> slot() const override;
    bool inSession(std::function<bool()> const& block, ErrorPtr& error) override;
    void transmitRequest(Bytes const& request, TransmitReply reply) override;
    void beginSession(std::function<void(bool, ErrorPtr)> reply) override;
    void endSession() override;
    bool sensitive() const override { return sensitive_; }
    void setSensitive(bool sensitive) override { sensitive_ = sensitive; }

private:
    explicit PcscCard(std::weak_ptr<PcscSlot> slot);

    std::weak_ptr<PcscSlot> const slot_;
    std::atomic<bool> sensitive_{false};
    // Shared with the queued jobs, which may run after this object has gone.
    std::shared_ptr<CardConnection> connection_;
    std::shared_ptr<SerialQueue> io_;
    // Declared last so that it goes first: its jobs wait on io_.
    SerialQueue replies_;
};

}  // namespace cardservice::impl::pcsc
