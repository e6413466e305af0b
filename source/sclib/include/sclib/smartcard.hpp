#pragma once

#include <functional>

#include "cardlayer/smartcard/smartcard_provider.hpp"
#include "iso7816/interchange/atr.hpp"

namespace sclib {

// A connected card.
class Smartcard {
public:
    // The provider's card I/O is valid only during the call; the flag is true when the card was
    // reset since the previous transaction of this object.
    using TransactionBody = std::function<void(cardlayer::smartcard::SmartcardProvider&, bool)>;

    virtual ~Smartcard() = default;

    // Runs body once inside one exclusive session. What body throws propagates after the session
    // has ended; a session that cannot start raises an sclib error.
    virtual void transaction(TransactionBody body) = 0;
    virtual iso7816::interchange::Atr getAtr() const = 0;
};

}  // namespace sclib
