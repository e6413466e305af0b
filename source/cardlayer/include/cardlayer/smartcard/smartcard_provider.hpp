#pragma once

#include "iso7816/interchange/card_io.hpp"

namespace cardlayer::smartcard {

// Hands the body of a card transaction the card I/O of that transaction.
class SmartcardProvider {
public:
    virtual iso7816::interchange::CardIo& getCardIo() = 0;
    virtual iso7816::interchange::CardIo const& getCardIo() const = 0;

protected:
    // Never owned through this interface.
    ~SmartcardProvider() = default;
};

}  // namespace cardlayer::smartcard
