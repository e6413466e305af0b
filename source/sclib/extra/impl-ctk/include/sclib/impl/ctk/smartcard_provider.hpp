#pragma once

#include "cardlayer/smartcard/smartcard_provider.hpp"
#include "sclib/impl/ctk/card_io.hpp"

namespace sclib::impl::ctk {

// What the body of one transaction is handed.
class SmartcardProvider final : public cardlayer::smartcard::SmartcardProvider {
public:
    explicit SmartcardProvider(ctkwrapper::Smartcard& card) : io_(card) {}

    iso7816::interchange::CardIo& getCardIo() override { return io_; }
    iso7816::interchange::CardIo const& getCardIo() const override { return io_; }

private:
    CardIo io_;
};

}  // namespace sclib::impl::ctk
