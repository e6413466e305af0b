#include "sclib/helpers/card_notifier.hpp"

#include <algorithm>
#include <iterator>

namespace sclib::helpers {

std::shared_ptr<CardNotifier> CardNotifier::Create(Provider& provider, ReaderCallback& callback) {
    auto notifier = std::make_shared<CardNotifier>(Key{}, provider, callback);
    notifier->systemMonitor_ = provider.CreateSystemMonitor();
    CardNotifier* const self = notifier.get();
    std::weak_ptr<CardNotifier> const tracked = notifier;
    notifier->systemMonitor_->readerAdded().connect(
        ReaderSignal::slot_type([self](std::shared_ptr<Reader> const& reader) {
            self->handleReaderAdd(reader);
        }).track_foreign(tracked));
    notifier->systemMonitor_->readerRemoved().connect(
        ReaderSignal::slot_type([self](std::shared_ptr<Reader> const& reader) {
            self->handleReaderRemove(reader);
        }).track_foreign(tracked));
    notifier->systemMonitor_->Start();
    return notifier;
}

CardNotifier::CardNotifier(Key, Provider& provider, ReaderCallback& callback)
    : provider_(provider), callback_(callback) {}

void CardNotifier::handleReaderAdd(std::shared_ptr<Reader> reader) {
    auto handler = detail::ReaderHandler::Create(provider_, reader, callback_);
    std::lock_guard<std::mutex> lock(mutex_);
    handlers_.push_back(handler);
    handler->getMonitor()->Start();
}

void CardNotifier::handleReaderRemove(std::shared_ptr<Reader> reader) {
    // The callback runs outside the mutex: a callback that calls back into the notifier must not
    // deadlock, and the handler list must not keep a reader that has gone when it throws.
    std::vector<std::shared_ptr<detail::ReaderHandler>> removed;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        auto const ofReader =
            std::partition(handlers_.begin(), handlers_.end(), [&reader](auto const& handler) {
                return handler->getMonitor()->GetReader() != reader;
            });
        removed.assign(std::make_move_iterator(ofReader), std::make_move_iterator(handlers_.end()));
        handlers_.erase(ofReader, handlers_.end());
    }
    for (auto const& handler : removed) {
        if (handler->isCardPresent()) {
            callback_.cardRemoved(handler->getMonitor()->GetReader());
        }
    }
}

}  // namespace sclib::helpers
