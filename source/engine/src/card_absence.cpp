#include "card_absence.hpp"

#include <utility>

namespace engine::detail {

using pavlenenabler::iface::PassedOverReason;

CardAbsence::CardAbsence(std::vector<Error> errors) : errors_(std::move(errors)) {}

CardAbsence CardAbsence::notSearched() {
    return CardAbsence({{Reason::NoCard, "the engine is not initialised"}});
}

CardAbsence CardAbsence::afterSearch(
    std::vector<pavlenenabler::iface::PassedOverReader> const& passedOver) {
    if (passedOver.empty()) {
        return CardAbsence({{Reason::NoReader, {}}});
    }
    std::vector<Error> errors;
    for (auto const& reader : passedOver) {
        switch (reader.reason) {
            case PassedOverReason::NoCard:
                errors.push_back({Reason::NoCardInReader, reader.readerName});
                break;
            case PassedOverReason::CardNotAccepted:
                errors.push_back({Reason::CardNotSupported, "in reader " + reader.readerName});
                break;
            case PassedOverReason::ReaderError:
                errors.push_back({Reason::ReaderFailed, reader.readerName + ": " + reader.detail});
                break;
        }
    }
    return CardAbsence(std::move(errors));
}

CardAbsence CardAbsence::removedFrom(std::string const& readerName) {
    return CardAbsence({{Reason::CardRemoved, "from reader " + readerName}});
}

void CardAbsence::raise() const {
    for (auto const& error : errors_) {
        raiseError(error.reason, error.detail);
    }
}

}  // namespace engine::detail
