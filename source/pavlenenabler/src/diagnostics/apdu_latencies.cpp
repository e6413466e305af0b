#include "pavlenenabler/enabler/apdu_latencies.hpp"

#include "pavlenenabler/enabler/apdu_latency.hpp"

namespace pavlenenabler::enabler {

void ApduLatencies::add(iso7816::interchange::Apdu const& apdu,
                        iso7816::interchange::ApduResponse const& /*response*/,
                        std::chrono::milliseconds const& duration) {
    std::lock_guard<std::mutex> const lock(mutex_);
    latencies_[apdu.GetIns()] = duration;
}

std::vector<std::shared_ptr<iface::ApduLatency>> ApduLatencies::getAll() const {
    std::lock_guard<std::mutex> const lock(mutex_);
    std::vector<std::shared_ptr<iface::ApduLatency>> all;
    all.reserve(latencies_.size());
    for (auto const& [instruction, duration] : latencies_) {
        all.push_back(std::make_shared<ApduLatency>(instruction, duration));
    }
    return all;
}

}  // namespace pavlenenabler::enabler
