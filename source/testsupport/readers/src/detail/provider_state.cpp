#include "detail/provider_state.hpp"

#include <stdexcept>

namespace testsupport::readers::detail {

std::vector<std::shared_ptr<FakeMonitor>> ProviderState::liveMonitors() {
    std::vector<std::shared_ptr<FakeMonitor>> live;
    for (auto const& weak : monitors) {
        if (auto monitor = weak.lock()) {
            live.push_back(std::move(monitor));
        }
    }
    monitors.assign(live.begin(), live.end());
    return live;
}

std::shared_ptr<FakeReader> ProviderState::presentReader(std::string const& name) const {
    for (auto const& reader : present) {
        if (reader->GetName() == name) {
            return reader;
        }
    }
    throw std::invalid_argument("FakeProvider: no reader named " + name);
}

}  // namespace testsupport::readers::detail
