#pragma once

#include <chrono>

#include "iso7816/interchange/apdu_ins.hpp"

namespace pavlenenabler::iface {

// How long the card last took to answer one kind of command.
class ApduLatency {
public:
    virtual ~ApduLatency() = default;

    virtual iso7816::interchange::ApduIns getApduInstruction() const = 0;
    virtual std::chrono::milliseconds getTime() const = 0;
};

}  // namespace pavlenenabler::iface
