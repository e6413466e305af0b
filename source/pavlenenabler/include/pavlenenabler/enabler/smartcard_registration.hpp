#pragma once

#include <map>
#include <memory>
#include <mutex>

#include "pavlenenabler/enabler/card_acceptance.hpp"
#include "pavlenenabler/enabler/smartcard.hpp"
#include "sclib/reader.hpp"

namespace pavlenenabler::enabler {

// The card objects of inserted accepted cards, one per reader, and the last object that a search
// handed out for each reader. One card in a reader has one object: a kept object is handed out
// again, or adopted by the card's insertion, only while its connection is still the card in the
// reader; otherwise the card gets a new object. Thread-safe; the lock is held while a reader is
// looked at, and no operation calls back into the user.
class SmartcardRegistration {
public:
    // The object for the card in reader now, made when no kept object is still that card and
    // kept for the card's insertion; empty for a card that is not accepted. A card registered
    // while events run is handed out without looking at the reader: the events keep it current.
    // Reader errors propagate, and nothing kept is dropped on any exception.
    std::shared_ptr<Smartcard> cardInReader(std::shared_ptr<sclib::Reader> const& reader,
                                            bool eventsRun);
    // For the insertion event: registers the object kept for this card (handed out by a search,
    // or registered before without a removal since), or a new one for any other card; empty for
    // a card that is not accepted. Errors propagate, and nothing kept is dropped on any
    // exception.
    std::shared_ptr<Smartcard> registerInsertedCard(std::shared_ptr<sclib::Reader> const& reader);
    // For the removal event: forgets the reader's registered card, returned, and the one a search
    // handed out.
    std::shared_ptr<Smartcard> erase(std::shared_ptr<sclib::Reader> const& reader);
    // Events have stopped or restart: the registered cards are looked at again before they are
    // handed out, until insertions register them anew.
    void distrustRegistered();

    std::shared_ptr<Smartcard> getSmartcard(std::shared_ptr<sclib::Reader> const& reader) const;

private:
    struct Registered {
        AcceptedCard accepted;
        bool followed;  // registered by an insertion, and events have not stopped since
    };
    struct Handed {
        std::weak_ptr<Smartcard> card;  // a card nobody holds any more is made anew
        CardConnection* connection;     // owned by card
    };

    // The handed-out card while someone holds it, else the registered one; empty otherwise.
    AcceptedCard keptCard_(std::shared_ptr<sclib::Reader> const& reader) const;

    mutable std::mutex mutex_;
    std::map<std::shared_ptr<sclib::Reader>, Registered> cards_;
    std::map<std::shared_ptr<sclib::Reader>, Handed> handedOut_;
};

}  // namespace pavlenenabler::enabler
