#pragma once

#include <memory>
#include <mutex>
#include <vector>

#include "sclib/helpers/detail/reader_handler.hpp"
#include "sclib/helpers/reader_callback.hpp"
#include "sclib/provider.hpp"
#include "sclib/reader.hpp"
#include "sclib/system_monitor.hpp"

namespace sclib::helpers {

// Turns the provider's monitor signals into card-inserted and card-removed calls on one callback,
// keeping one reader monitor per present reader. A reader that goes away with its card in is
// reported as a card removal. Everything reaches the callback on the thread that pumps the
// provider (see EventProcessor). Provider and callback must outlive the notifier; destroying the
// notifier releases every monitor and silences all of its slots.
//
//     auto notifier = CardNotifier::Create(provider, callback);
//     EventProcessor events(provider);
//     events.start();
class CardNotifier {
    struct Key {};

public:
    // Makes the system monitor, connects the reader-added and reader-removed slots and starts
    // it; the readers already present arrive as added on the next pump. Propagates what the
    // provider throws.
    static std::shared_ptr<CardNotifier> Create(Provider& provider, ReaderCallback& callback);

    CardNotifier(Key, Provider& provider, ReaderCallback& callback);
    CardNotifier(CardNotifier const&) = delete;
    CardNotifier& operator=(CardNotifier const&) = delete;

    // The slots of the system monitor, called on the pumping thread.
    void handleReaderAdd(std::shared_ptr<Reader> reader);
    // Drops the handlers of reader, then reports the card of each that had one as removed. The
    // callback runs after the mutex is released, so it may call back into the notifier; if it
    // throws, the handlers are gone all the same.
    void handleReaderRemove(std::shared_ptr<Reader> reader);

private:
    Provider& provider_;
    std::shared_ptr<SystemMonitor> systemMonitor_;
    ReaderCallback& callback_;
    std::vector<std::shared_ptr<detail::ReaderHandler>> handlers_;  // under mutex_
    std::mutex mutex_;
};

}  // namespace sclib::helpers
