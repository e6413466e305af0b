#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

#include "command_apdu.hpp"
#include "testsupport/cardsim/byte_vector.hpp"

namespace testsupport::cardsim::detail {

// Answers armed for an instruction, given in place of the card's own answer. The command is not
// carried out, so the card's state stays as it was.
class FaultInjector {
public:
    static constexpr unsigned EveryTime = std::numeric_limits<unsigned>::max();

    // The reply bytes as they are, for the next `times` commands with that instruction.
    void armReply(std::uint8_t ins, ByteVector reply, unsigned times);
    // Le + 1 data bytes and 9000.
    void armOverlongReply(std::uint8_t ins, unsigned times);
    void clear() { faults_.clear(); }

    // The armed reply for this command, earliest armed first.
    std::optional<ByteVector> take(CommandApdu const& command);

private:
    struct Fault {
        std::uint8_t ins;
        bool overlong;
        ByteVector reply;
        unsigned remaining;
    };

    std::vector<Fault> faults_;
};

}  // namespace testsupport::cardsim::detail
