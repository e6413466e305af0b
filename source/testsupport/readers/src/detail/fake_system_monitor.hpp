#pragma once

#include <memory>

#include "detail/fake_monitor.hpp"
#include "detail/provider_state.hpp"
#include "sclib/system_monitor.hpp"
#include "velk/thread_safe_queue.hpp"

namespace testsupport::readers::detail {

// Reports the present readers as added when started, later arrivals and departures as they come.
class FakeSystemMonitor : public sclib::SystemMonitor, public FakeMonitor {
public:
    explicit FakeSystemMonitor(std::shared_ptr<ProviderState> state);

    void Start() override;
    void Stop() override;

    bool process() override;
    void readerAdded(std::shared_ptr<sclib::Reader> const& reader) override;
    void readerRemoved(std::shared_ptr<sclib::Reader> const& reader) override;

private:
    struct Event {
        std::shared_ptr<sclib::Reader> reader;
        bool added;
    };

    std::shared_ptr<ProviderState> state_;
    bool started_ = false;  // under the state mutex
    velk::ThreadSafeQueue<Event> queue_;
};

}  // namespace testsupport::readers::detail
