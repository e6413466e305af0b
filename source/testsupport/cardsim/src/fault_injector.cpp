#include "fault_injector.hpp"

#include "response.hpp"
#include "status_words.hpp"

namespace testsupport::cardsim::detail {

void FaultInjector::armReply(std::uint8_t ins, ByteVector reply, unsigned times) {
    if (times > 0) {
        faults_.push_back({ins, false, std::move(reply), times});
    }
}

void FaultInjector::armOverlongReply(std::uint8_t ins, unsigned times) {
    if (times > 0) {
        faults_.push_back({ins, true, {}, times});
    }
}

std::optional<ByteVector> FaultInjector::take(CommandApdu const& command) {
    for (auto it = faults_.begin(); it != faults_.end(); ++it) {
        if (it->ins != command.ins) {
            continue;
        }
        ByteVector reply =
            it->overlong ? encode({ByteVector(command.ne + 1, 0x5A), sw::Ok}) : it->reply;
        if (it->remaining != EveryTime && --it->remaining == 0) {
            faults_.erase(it);
        }
        return reply;
    }
    return std::nullopt;
}

}  // namespace testsupport::cardsim::detail
