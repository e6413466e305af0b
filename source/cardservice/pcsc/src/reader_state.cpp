#include "reader_state.hpp"

#include "cardservice/card_service.hpp"

namespace cardservice::impl::pcsc {
namespace {

constexpr unsigned CounterShift = 16;
constexpr unsigned CounterMask = 0xFFFF;

bool holdsCard(std::int64_t state) {
    return state == StateValidCard || state == StateMuteCard;
}

}  // namespace

std::optional<ReaderState> readerStateOf(DWORD eventState) {
    unsigned const counter = static_cast<unsigned>(eventState >> CounterShift) & CounterMask;
    if ((eventState & (SCARD_STATE_UNKNOWN | SCARD_STATE_UNAVAILABLE | SCARD_STATE_IGNORE)) != 0) {
        return std::nullopt;
    }
    if ((eventState & SCARD_STATE_PRESENT) != 0) {
        bool const mute = (eventState & SCARD_STATE_MUTE) != 0;
        return ReaderState{mute ? StateMuteCard : StateValidCard, counter};
    }
    if ((eventState & SCARD_STATE_EMPTY) != 0) {
        return ReaderState{StateEmpty, counter};
    }
    return std::nullopt;
}

std::vector<std::int64_t> stateChanges(ReaderState const& previous, ReaderState const& now) {
    if (!holdsCard(now.slotState)) {
        return previous.slotState == now.slotState ? std::vector<std::int64_t>{}
                                                   : std::vector<std::int64_t>{now.slotState};
    }
    bool const hadCard = holdsCard(previous.slotState);
    unsigned const events = (now.eventCounter - previous.eventCounter) & CounterMask;
    if (hadCard && events == 0 && previous.slotState == now.slotState) {
        return {};
    }
    std::vector<std::int64_t> changes;
    if (hadCard && events >= 2) {
        changes.push_back(StateEmpty);
    }
    changes.push_back(StateProbing);
    changes.push_back(now.slotState);
    return changes;
}

}  // namespace cardservice::impl::pcsc
