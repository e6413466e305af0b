#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include <winscard.h>

namespace cardservice::impl::pcsc {

// What one status look at a reader tells: the slot state and the reader's event counter, which
// the daemon counts up on every insertion and removal.
struct ReaderState {
    std::int64_t slotState;
    unsigned eventCounter;
};

// None while the daemon does not know the reader's state (unknown, unavailable, ignored).
std::optional<ReaderState> readerStateOf(DWORD eventState);

// The slot states to report, in order, when a reader last seen as previous is now seen as now.
// A card that appears goes through Probing; a card that stays while the counter moved on by one
// was reset (Probing, then its state again); by two or more, it was taken out and put in again
// between two looks (Empty first).
std::vector<std::int64_t> stateChanges(ReaderState const& previous, ReaderState const& now);

}  // namespace cardservice::impl::pcsc
