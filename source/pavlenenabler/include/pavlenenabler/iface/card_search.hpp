#pragma once

#include <memory>
#include <string>
#include <vector>

#include "pavlenenabler/iface/smartcard.hpp"

namespace pavlenenabler::iface {

// Why a reader gave no card in a search.
enum class PassedOverReason {
    NoCard,           // the reader holds no card
    CardNotAccepted,  // the card's answer-to-reset is none of the accepted ones
    ReaderError,      // the reader layer failed otherwise; see the detail
};

struct PassedOverReader {
    std::string readerName;
    PassedOverReason reason;
    std::string detail;  // the reader layer's text; empty for CardNotAccepted
};

// The result of a search for an accepted card: the card, or what every reader showed instead.
struct CardSearch {
    std::shared_ptr<Smartcard> card;
    // The readers before the one with the card, in the reader service's order; all of them
    // when no card was found, and none when there is no reader.
    std::vector<PassedOverReader> passedOver;
};

}  // namespace pavlenenabler::iface
