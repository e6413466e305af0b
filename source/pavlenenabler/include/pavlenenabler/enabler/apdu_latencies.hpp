#pragma once

#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "iso7816/interchange/apdu.hpp"
#include "iso7816/interchange/apdu_ins.hpp"
#include "iso7816/interchange/apdu_response.hpp"
#include "pavlenenabler/iface/apdu_latency.hpp"

namespace pavlenenabler::enabler {

// The latest duration of each instruction a card object sent. One entry per instruction byte,
// so the table stays small however long the card is used. Fed by the timing layer of the
// card's transmission stack on the transaction's thread, read by the diagnostic query.
class ApduLatencies {
public:
    // Replaces the instruction's earlier duration. The response is not looked at.
    void add(iso7816::interchange::Apdu const& apdu,
             iso7816::interchange::ApduResponse const& response,
             std::chrono::milliseconds const& duration);

    // A snapshot in ascending order of the instruction byte.
    std::vector<std::shared_ptr<iface::ApduLatency>> getAll() const;

private:
    mutable std::mutex mutex_;
    std::map<iso7816::interchange::ApduIns, std::chrono::milliseconds> latencies_;
};

}  // namespace pavlenenabler::enabler
