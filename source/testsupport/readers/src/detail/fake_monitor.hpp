#pragma once

#include <memory>

#include "sclib/reader.hpp"

namespace testsupport::readers::detail {

// What the provider pumps and tells about changes. The notifications come under the provider's
// state mutex; a monitor queues what concerns it while started, and fires only in process().
class FakeMonitor {
public:
    virtual ~FakeMonitor() = default;

    // Fires what was queued, on the calling thread; true when there was anything.
    virtual bool process() = 0;

    virtual void readerAdded(std::shared_ptr<sclib::Reader> const&) {}
    virtual void readerRemoved(std::shared_ptr<sclib::Reader> const&) {}
    virtual void cardInserted(sclib::Reader const*) {}
    virtual void cardRemoved(sclib::Reader const*) {}
};

}  // namespace testsupport::readers::detail
