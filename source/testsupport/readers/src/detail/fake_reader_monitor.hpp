#pragma once

#include <memory>

#include "detail/fake_monitor.hpp"
#include "detail/provider_state.hpp"
#include "sclib/reader_monitor.hpp"
#include "velk/thread_safe_queue.hpp"

namespace testsupport::readers::detail {

// Reports a card already in as inserted when started, later insertions and removals as they
// come, and the reader's departure (or absence at start) as unavailable.
class FakeReaderMonitor : public sclib::ReaderMonitor, public FakeMonitor {
public:
    FakeReaderMonitor(std::shared_ptr<ProviderState> state, std::shared_ptr<sclib::Reader> reader);

    void Start() override;
    void Stop() override;

    bool process() override;
    void readerRemoved(std::shared_ptr<sclib::Reader> const& reader) override;
    void cardInserted(sclib::Reader const* reader) override;
    void cardRemoved(sclib::Reader const* reader) override;

private:
    enum class Event { Inserted, Removed, Unavailable };

    void queueFor(sclib::Reader const* reader, Event event);

    std::shared_ptr<ProviderState> state_;
    bool started_ = false;  // under the state mutex
    velk::ThreadSafeQueue<Event> queue_;
};

}  // namespace testsupport::readers::detail
