#pragma once

#include <utility>

#include "iso7816/interchange/atr.hpp"
#include "iso7816/interchange/card_io.hpp"
#include "sclib/smartcard.hpp"

namespace testsupport::fuzz {

// A connected card whose every transaction hands out one given card I/O, so that the whole
// stack runs over answers that a fuzzer (or a recording of the simulator) supplies. The card is
// never reported reset.
class CardIoSmartcard : public sclib::Smartcard {
public:
    // Keeps a reference: io must outlive this object.
    CardIoSmartcard(iso7816::interchange::CardIo& io, iso7816::interchange::Atr atr)
        : io_(io), atr_(std::move(atr)) {}

    void transaction(TransactionBody body) override;
    iso7816::interchange::Atr getAtr() const override { return atr_; }

private:
    iso7816::interchange::CardIo& io_;
    iso7816::interchange::Atr atr_;
};

}  // namespace testsupport::fuzz
