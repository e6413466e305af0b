#pragma once

#include <functional>
#include <memory>
#include <string>

#include <winscard.h>

#include "cardservice/card_service.hpp"
#include "pcsc_context.hpp"

namespace cardservice::impl::pcsc {

// The connection to one card: a context of its own and the card handle, both released when the
// object goes. Used by one thread at a time, the card's I/O thread.
class CardConnection {
public:
    // Called when the card turns out to have been reset by another application.
    using ResetReporter = std::function<void()>;

    CardConnection() = default;
    ~CardConnection();
    CardConnection(CardConnection const&) = delete;
    CardConnection& operator=(CardConnection const&) = delete;

    LONG open(std::string const& reader);

    // A card that another application reset is not a failure: it is reconnected as it now is,
    // the reset reported, and the transaction begun.
    LONG beginTransaction(ResetReporter const& reportReset);
    LONG endTransaction();

    // The response replaces response. A reset found here is reported and fails the command,
    // whose session state the card has lost.
    LONG transmit(Bytes const& command, Bytes& response, ResetReporter const& reportReset);

private:
    LONG reconnectAfterReset_(ResetReporter const& reportReset);

    std::unique_ptr<PcscContext> context_;
    SCARDHANDLE handle_ = 0;
    bool connected_ = false;
    DWORD protocol_ = 0;
};

}  // namespace cardservice::impl::pcsc
