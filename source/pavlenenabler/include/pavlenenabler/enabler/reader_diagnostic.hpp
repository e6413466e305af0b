#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "pavlenenabler/iface/apdu_latency.hpp"
#include "pavlenenabler/iface/reader_diagnostic.hpp"

namespace pavlenenabler::enabler {

class ReaderDiagnostic : public iface::ReaderDiagnostic {
public:
    using Latencies = std::vector<std::shared_ptr<iface::ApduLatency>>;

    ReaderDiagnostic(std::string readerName, bool cardInserted, std::string cardLabel,
                     Latencies latencies)
        : readerName_(std::move(readerName)),
          cardInserted_(cardInserted),
          cardLabel_(std::move(cardLabel)),
          latencies_(std::move(latencies)) {}

    std::string const& getReaderName() const override { return readerName_; }
    bool hasCardInserted() const override { return cardInserted_; }
    std::string const& getCardLabel() const override { return cardLabel_; }
    Latencies const& getLatencies() const override { return latencies_; }

private:
    std::string readerName_;
    bool cardInserted_;
    std::string cardLabel_;
    Latencies latencies_;
};

}  // namespace pavlenenabler::enabler
