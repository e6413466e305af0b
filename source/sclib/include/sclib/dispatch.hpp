#pragma once

#include <memory>

#include "sclib/reader_monitor.hpp"
#include "sclib/system_monitor.hpp"

namespace sclib {

// Fire a monitor's signals; backends call them while pumping. Nothing is caught: a subscriber's
// exception ends the dispatch and reaches the pump's caller.
void dispatchInsertSmartcardEvent(ReaderMonitor const& monitor);
void dispatchRemoveSmartcardEvent(ReaderMonitor const& monitor);
void dispatchMuteSmartcardEvent(ReaderMonitor const& monitor);
void dispatchUnavailableEvent(ReaderMonitor const& monitor);
void dispatchReaderAddedEvent(SystemMonitor const& monitor, std::shared_ptr<Reader> const& reader);
void dispatchReaderRemovedEvent(SystemMonitor const& monitor,
                                std::shared_ptr<Reader> const& reader);

}  // namespace sclib
