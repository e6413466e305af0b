#pragma once

#include <cstdint>

namespace ctkwrapper {

enum class SlotState : std::uint32_t {
    Missing = 0,    // the reader is gone
    Empty = 1,      // no card in the reader
    Probing = 2,    // a card is being probed, also after a reset
    MuteCard = 3,   // a card that does not answer
    ValidCard = 4,  // a usable card
};

}  // namespace ctkwrapper
