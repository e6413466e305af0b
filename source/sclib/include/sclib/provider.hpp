#pragma once

#include <memory>
#include <string>
#include <vector>

#include "sclib/reader.hpp"
#include "sclib/reader_monitor.hpp"
#include "sclib/system_monitor.hpp"

namespace sclib {

// The entry to one reader service.
class Provider {
public:
    virtual ~Provider() = default;

    // The readers present now, in the platform's order.
    virtual std::vector<std::shared_ptr<Reader>> GetReaders() const = 0;
    // The first reader whose name equals name ignoring case, or an empty pointer.
    virtual std::shared_ptr<Reader> GetReaderByName(std::string const& name) const = 0;
    // Pumps the live monitors of this provider in registration order on the calling thread and
    // stops at the first that fired anything: then true. False when nothing happened. What
    // monitors and subscribers throw propagates.
    virtual bool ProcessEvents() const = 0;
    // New monitors, registered for pumping, not yet started.
    virtual std::shared_ptr<SystemMonitor> CreateSystemMonitor() const = 0;
    virtual std::shared_ptr<ReaderMonitor> CreateReaderMonitor(
        std::shared_ptr<Reader> reader) const = 0;
};

namespace env {

// The process-wide provider of the platform this library is linked with.
Provider& GetDefaultProvider();

}  // namespace env

}  // namespace sclib
