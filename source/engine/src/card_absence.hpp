#pragma once

#include <string>
#include <vector>

#include "engine_errors.hpp"
#include "pavlenenabler/iface/card_search.hpp"

namespace engine::detail {

// Why there is no current card, kept as the errors that tell the user, so that a failing
// command names the cause rather than only the missing card.
class CardAbsence {
public:
    // The engine has not looked for a card: it is not initialised, or finished.
    static CardAbsence notSearched();
    // A search found no card: one error per reader passed over, or one for no reader at all.
    static CardAbsence afterSearch(
        std::vector<pavlenenabler::iface::PassedOverReader> const& passedOver);
    static CardAbsence removedFrom(std::string const& readerName);

    // Puts the errors on OpenSSL's error queue.
    void raise() const;

private:
    struct Error {
        Reason reason;
        std::string detail;
    };

    explicit CardAbsence(std::vector<Error> errors);

    std::vector<Error> errors_;
};

}  // namespace engine::detail
