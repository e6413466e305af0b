#pragma once

#include <atomic>
#include <memory>

#include <boost/signals2/connection.hpp>

#include "ctkwrapper/smartcard.hpp"
#include "sclib/impl/ctk/reader_monitor.hpp"
#include "sclib/smartcard.hpp"

namespace sclib::impl::ctk {

// A card connected through the card service. Transactions of one object must not overlap; the
// caller serialises them.
class Smartcard : public sclib::Smartcard {
public:
    // monitor: the started reader monitor of the card's reader, pumped by the transactions.
    Smartcard(ctkwrapper::Smartcard card, std::shared_ptr<ReaderMonitor> monitor);

    void transaction(TransactionBody body) override;
    iso7816::interchange::Atr getAtr() const override;

private:
    ctkwrapper::Smartcard card_;
    std::shared_ptr<ReaderMonitor> monitor_;
    // Shared with the reset handler: another card object's transaction may fire it while this
    // object is being destroyed.
    std::shared_ptr<std::atomic<bool>> wasReset_;
    boost::signals2::scoped_connection resetConnection_;
};

}  // namespace sclib::impl::ctk
