#pragma once

#include <memory>
#include <string>
#include <vector>

#include "pavlenenabler/iface/apdu_latency.hpp"

namespace pavlenenabler::iface {

// What the diagnostic query reports for one reader.
class ReaderDiagnostic {
public:
    virtual ~ReaderDiagnostic() = default;

    virtual std::string const& getReaderName() const = 0;
    // Whether an accepted card is registered in the reader.
    virtual bool hasCardInserted() const = 0;
    // The token label of that card; empty without one.
    virtual std::string const& getCardLabel() const = 0;
    // The card's latest duration per instruction byte, in ascending order of the byte.
    virtual std::vector<std::shared_ptr<ApduLatency>> const& getLatencies() const = 0;
};

}  // namespace pavlenenabler::iface
