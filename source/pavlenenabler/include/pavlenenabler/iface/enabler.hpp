#pragma once

#include <memory>
#include <vector>

#include "pavlenenabler/iface/card_search.hpp"
#include "pavlenenabler/iface/reader_diagnostic.hpp"
#include "pavlenenabler/iface/smartcard.hpp"

namespace pavlenenabler::iface {

// Finds accepted cards and follows their insertion and removal.
class Enabler {
public:
    virtual ~Enabler() = default;

    // The card of the first reader holding an accepted card; empty when there is none. Repeated
    // calls, and the card's insertion event, give the same object while the card stays in.
    virtual std::shared_ptr<Smartcard> findCard() = 0;
    // The same search, also telling why each reader passed over gave no card.
    virtual CardSearch searchCard() = 0;
    // Cards present now are reported once as inserted, later changes as they come. Not from a
    // card event handler.
    virtual void startCardEvent() = 0;
    // May be called from a card event handler.
    virtual void stopCardEvent() = 0;
    // One record per reader, in the reader service's order.
    virtual std::vector<std::shared_ptr<ReaderDiagnostic>> getReaderDiagnostics() const = 0;
};

}  // namespace pavlenenabler::iface
