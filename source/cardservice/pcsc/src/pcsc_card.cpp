#include "pcsc_card.hpp"

#include <optional>
#include <utility>

#include <pcsclite.h>

#include "bounded_call.hpp"
#include "pcsc_error.hpp"
#include "pcsc_slot.hpp"
#include "timeouts.hpp"

namespace cardservice::impl::pcsc {
namespace {

struct TransmitResult {
    LONG result;
    Bytes response;
};

ErrorPtr noAnswer(char const* operation) {
    return makeError(CommunicationError,
                     std::string(operation) + ": no answer from the daemon within the time limit");
}

CardConnection::ResetReporter resetReporter(std::weak_ptr<PcscSlot> slot) {
    return [slot = std::move(slot)] {
        if (auto const present = slot.lock()) {
            present->reportReset();
        }
    };
}

ErrorPtr beginTransaction(SerialQueue& io, std::shared_ptr<CardConnection> const& connection,
                          std::weak_ptr<PcscSlot> const& slot) {
    std::optional<LONG> const result = boundedCall<LONG>(
        io, TransactionTimeout,
        [connection, reportReset = resetReporter(slot)] {
            return connection->beginTransaction(reportReset);
        },
        // A transaction that began after the caller gave up would lock others out.
        [connection](LONG& late) {
            if (late == SCARD_S_SUCCESS) {
                connection->endTransaction();
            }
        });
    return result ? errorFromPcsc(*result, "SCardBeginTransaction")
                  : noAnswer("SCardBeginTransaction");
}

void endTransaction(SerialQueue& io, std::shared_ptr<CardConnection> const& connection) {
    boundedCall<LONG>(io, TransactionTimeout,
                      [connection] { return connection->endTransaction(); });
}

// Ends the transaction of inSession however its block leaves.
class TransactionEnd {
public:
    TransactionEnd(SerialQueue& io, std::shared_ptr<CardConnection> const& connection)
        : io_(io), connection_(connection) {}
    ~TransactionEnd() {
        try {
            endTransaction(io_, connection_);
        } catch (...) {
            // Only allocation can fail here; the card's next transaction finds it ended by the
            // daemon when this connection goes.
        }
    }
    TransactionEnd(TransactionEnd const&) = delete;
    TransactionEnd& operator=(TransactionEnd const&) = delete;

private:
    SerialQueue& io_;
    std::shared_ptr<CardConnection> const& connection_;
};

}  // namespace

PcscCard::PcscCard(std::weak_ptr<PcscSlot> slot)
    : slot_(std::move(slot)),
      connection_(std::make_shared<CardConnection>()),
      io_(std::make_shared<SerialQueue>()) {}

PcscCard::~PcscCard() {
    // The connection is released on the I/O thread, after every job queued before.
    io_->post([connection = std::move(connection_)]() mutable { connection.reset(); });
}

std::shared_ptr<PcscCard> PcscCard::connect(std::shared_ptr<PcscSlot> const& slot) {
    std::shared_ptr<PcscCard> card(new PcscCard(slot));
    std::optional<LONG> const result = boundedCall<LONG>(
        *card->io_, ConnectTimeout, [connection = card->connection_, reader = slot->name()] {
            return connection->open(reader);
        });
    if (!result || *result != SCARD_S_SUCCESS) {
        return nullptr;
    }
    return card;
}

std::shared_ptr<Slot> PcscCard::slot() const {
    std::shared_ptr<PcscSlot> slot = slot_.lock();
    if (!slot || slot->state() == StateMissing) {
        return nullptr;
    }
    return slot;
}

bool PcscCard::inSession(std::function<bool()> const& block, ErrorPtr& error) {
    error = beginTransaction(*io_, connection_, slot_);
    if (error) {
        return false;
    }
    TransactionEnd const end(*io_, connection_);
    return block();
}

void PcscCard::beginSession(std::function<void(bool, ErrorPtr)> reply) {
    replies_.post([io = io_, connection = connection_, slot = slot_, reply = std::move(reply)] {
        ErrorPtr const error = beginTransaction(*io, connection, slot);
        reply(error == nullptr, error);
    });
}

void PcscCard::endSession() {
    endTransaction(*io_, connection_);
}

void PcscCard::transmitRequest(Bytes const& request, TransmitReply reply) {
    auto command = std::make_shared<Bytes const>(request);
    replies_.post([io = io_, connection = connection_, slot = slot_, command = std::move(command),
                   reply = std::move(reply)] {
        std::optional<TransmitResult> const sent = boundedCall<TransmitResult>(
            *io, TransmitTimeout, [connection, command, reportReset = resetReporter(slot)] {
                TransmitResult sent{SCARD_S_SUCCESS, {}};
                sent.result = connection->transmit(*command, sent.response, reportReset);
                return sent;
            });
        if (!sent) {
            reply(nullptr, noAnswer("SCardTransmit"));
        } else if (sent->result != SCARD_S_SUCCESS) {
            reply(nullptr, errorFromPcsc(sent->result, "SCardTransmit"));
        } else {
            reply(&sent->response, nullptr);
        }
    });
}

}  // namespace cardservice::impl::pcsc
