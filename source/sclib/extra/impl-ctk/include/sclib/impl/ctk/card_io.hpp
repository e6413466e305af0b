#pragma once

#include <cstddef>

#include "ctkwrapper/smartcard.hpp"
#include "iso7816/interchange/card_io.hpp"

namespace sclib::impl::ctk {

// The raw transport of one transaction. Waits for each reply without a time-out: the card
// service bounds its own waits.
class CardIo : public iso7816::interchange::CardIo {
public:
    explicit CardIo(ctkwrapper::Smartcard& card) : card_(&card) {}

    using iso7816::interchange::CardIo::Transmit;
    // Throws the sclib exception of the service's code, its text starting "Transmit failed".
    velk::basic_allocated_string<unsigned char> Transmit(unsigned char const* data,
                                                         std::size_t size) override;

private:
    ctkwrapper::Smartcard* card_;
};

}  // namespace sclib::impl::ctk
