#pragma once

#include <chrono>

namespace cardservice::impl::pcsc {

// Bounds of every wait on the daemon, so that no caller's thread hangs with it. A card that
// computes a signature may take seconds; a transaction may wait while another application
// holds the card.
constexpr std::chrono::seconds ConnectTimeout{10};
constexpr std::chrono::seconds TransactionTimeout{30};
constexpr std::chrono::seconds TransmitTimeout{60};
// How long one status wait of the monitor lasts before it looks at the reader list again.
constexpr std::chrono::milliseconds StatusPollInterval{500};
// Pause before the monitor tries again to reach a daemon that went away.
constexpr std::chrono::milliseconds DaemonRetryInterval{250};
// How long the first manager waits for the first look at the readers.
constexpr std::chrono::seconds FirstListingTimeout{10};

}  // namespace cardservice::impl::pcsc
