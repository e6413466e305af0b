#pragma once

#include <exception>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "detail/fake_monitor.hpp"
#include "testsupport/readers/fake_reader.hpp"

namespace testsupport::readers::detail {

// What the provider shares with its monitors, which may outlive it.
struct ProviderState {
    std::mutex mutex;  // guards the members; taken before a reader's or a queue's lock
    std::vector<std::shared_ptr<FakeReader>> present;        // in the order added
    std::map<std::string, std::weak_ptr<FakeReader>> known;  // one object per name while held
    std::vector<std::weak_ptr<FakeMonitor>> monitors;        // in registration order
    std::exception_ptr pendingError;

    // Under mutex: the monitors still alive, in order; the others are forgotten.
    std::vector<std::shared_ptr<FakeMonitor>> liveMonitors();
    // Under mutex: the present reader of exactly that name; std::invalid_argument if none.
    std::shared_ptr<FakeReader> presentReader(std::string const& name) const;
};

}  // namespace testsupport::readers::detail
