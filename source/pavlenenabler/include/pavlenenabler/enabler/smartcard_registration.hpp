#pragma once

#include <map>
#include <memory>
#include <mutex>

#include "pavlenenabler/enabler/smartcard.hpp"
#include "sclib/reader.hpp"

namespace pavlenenabler::enabler {

// The card objects of inserted accepted cards, one per reader, and the objects that findCard
// handed out before their card's insertion was reported. Thread-safe.
class SmartcardRegistration {
public:
    // Also forgets a card found in the reader. True when a card was registered.
    bool erase(std::shared_ptr<sclib::Reader> const& reader);
    std::shared_ptr<Smartcard> getSmartcard(std::shared_ptr<sclib::Reader> const& reader) const;

    // findCard and the insertion event of the same card may each make an object for it at
    // the same time; these two settle on one, under the registration's lock.
    //
    // For findCard: the card registered for the reader meanwhile, else card, kept weakly so
    // that the insertion event adopts it. A card nobody holds any more is made anew.
    std::shared_ptr<Smartcard> keepFound(std::shared_ptr<sclib::Reader> const& reader,
                                         std::shared_ptr<Smartcard> const& card);
    // The card found in the reader, if still held by someone; forgets it either way.
    std::shared_ptr<Smartcard> takeFound(std::shared_ptr<sclib::Reader> const& reader);
    // For the insertion event: registers the card that findCard handed out meanwhile, else
    // card, in place of an earlier card of the reader, and returns the one registered.
    std::shared_ptr<Smartcard> insertUnlessFound(std::shared_ptr<sclib::Reader> const& reader,
                                                 std::shared_ptr<Smartcard> card);

private:
    mutable std::mutex mutex_;
    std::map<std::shared_ptr<sclib::Reader>, std::shared_ptr<Smartcard>> cards_;
    std::map<std::shared_ptr<sclib::Reader>, std::weak_ptr<Smartcard>> found_;
};

}  // namespace pavlenenabler::enabler
