#include "sclib/helpers/detail/reader_handler.hpp"

#include <utility>

namespace sclib::helpers::detail {

std::shared_ptr<ReaderHandler> ReaderHandler::Create(Provider& provider,
                                                     std::shared_ptr<Reader>& reader,
                                                     ReaderCallback& callback) {
    auto monitor = provider.CreateReaderMonitor(reader);
    auto handler = std::make_shared<ReaderHandler>(Key{}, monitor, callback);
    ReaderHandler* const self = handler.get();
    std::weak_ptr<ReaderHandler> const tracked = handler;
    // The tracking keeps the handler alive while a slot runs and drops the slot once the handler
    // is gone, so the connections need not be kept.
    monitor->cardInserted().connect(
        ReaderSignal::slot_type([self](std::shared_ptr<Reader> const& r) {
            self->handleCardInsert(r);
        }).track_foreign(tracked));
    monitor->cardRemoved().connect(
        ReaderSignal::slot_type([self](std::shared_ptr<Reader> const& r) {
            self->handleCardRemove(r);
        }).track_foreign(tracked));
    return handler;
}

ReaderHandler::ReaderHandler(Key, std::shared_ptr<ReaderMonitor> monitor, ReaderCallback& callback)
    : monitor_(std::move(monitor)), callback_(callback) {}

void ReaderHandler::handleCardInsert(std::shared_ptr<Reader> const& reader) {
    cardPresent_.store(true);
    callback_.cardInserted(reader);
}

void ReaderHandler::handleCardRemove(std::shared_ptr<Reader> const& reader) {
    cardPresent_.store(false);
    callback_.cardRemoved(reader);
}

}  // namespace sclib::helpers::detail
