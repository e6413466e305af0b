#pragma once

#include <memory>
#include <mutex>

#include <boost/optional.hpp>

#include "iso7816/interchange/atr.hpp"
#include "pavlenenabler/enabler/authentication_object.hpp"
#include "pavlenenabler/enabler/smartcard.hpp"
#include "sclib/reader.hpp"
#include "sclib/smartcard.hpp"

namespace pavlenenabler::enabler {

// A connected card that can also tell whether it is still the card in its reader: a card taken
// out gets a new connection when it comes back, and the old one fails from then on.
class CardConnection final : public sclib::Smartcard {
public:
    explicit CardConnection(std::unique_ptr<sclib::Smartcard> card) : card_(std::move(card)) {}

    // A reset that isStillInReader saw is reported to the next body.
    void transaction(TransactionBody body) override;
    iso7816::interchange::Atr getAtr() const override { return card_->getAtr(); }

    // Opens and ends a session without sending anything: false when the reader layer says the
    // card or the reader has gone. Other errors propagate.
    bool isStillInReader();

private:
    std::unique_ptr<sclib::Smartcard> card_;
    // The card object's transactions and the checks do not overlap.
    std::mutex mutex_;
    bool resetNotPassedOn_ = false;  // under mutex_
};

// A card object and its connection, which the card object owns.
struct AcceptedCard {
    std::shared_ptr<Smartcard> card;  // empty: the card is not accepted
    CardConnection* connection = nullptr;
};

// The PIN object of an accepted card; none for a card of any other ATR.
boost::optional<AuthenticationObject> authenticationObjectFor(iso7816::interchange::Atr const& atr);

// Connects to the card in reader and makes its card object, without card traffic; empty for a
// card that is not accepted. Reader errors propagate.
AcceptedCard acceptCard(sclib::Reader& reader);

}  // namespace pavlenenabler::enabler
