#include "sclib/dispatch.hpp"

namespace sclib {

namespace {

// The copy keeps the reader alive while subscribers run, whatever they do to the monitor.
void fire(ReaderSignal& signal, std::shared_ptr<Reader> reader) {
    signal(std::move(reader));
}

}  // namespace

void dispatchInsertSmartcardEvent(ReaderMonitor const& monitor) {
    fire(monitor.cardInserted(), monitor.GetReader());
}

void dispatchRemoveSmartcardEvent(ReaderMonitor const& monitor) {
    fire(monitor.cardRemoved(), monitor.GetReader());
}

void dispatchMuteSmartcardEvent(ReaderMonitor const& monitor) {
    fire(monitor.cardMute(), monitor.GetReader());
}

void dispatchUnavailableEvent(ReaderMonitor const& monitor) {
    fire(monitor.unavailable(), monitor.GetReader());
}

void dispatchReaderAddedEvent(SystemMonitor const& monitor, std::shared_ptr<Reader> const& reader) {
    fire(monitor.readerAdded(), reader);
}

void dispatchReaderRemovedEvent(SystemMonitor const& monitor,
                                std::shared_ptr<Reader> const& reader) {
    fire(monitor.readerRemoved(), reader);
}

}  // namespace sclib
