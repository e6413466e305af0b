#pragma once

#include <chrono>

#include "iso7816/interchange/apdu_ins.hpp"
#include "pavlenenabler/iface/apdu_latency.hpp"

namespace pavlenenabler::enabler {

class ApduLatency : public iface::ApduLatency {
public:
    ApduLatency(iso7816::interchange::ApduIns instruction, std::chrono::milliseconds time) noexcept
        : instruction_(instruction), time_(time) {}

    iso7816::interchange::ApduIns getApduInstruction() const override { return instruction_; }
    std::chrono::milliseconds getTime() const override { return time_; }

private:
    iso7816::interchange::ApduIns instruction_;
    std::chrono::milliseconds time_;
};

}  // namespace pavlenenabler::enabler
