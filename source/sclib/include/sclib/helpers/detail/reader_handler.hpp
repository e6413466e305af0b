#pragma once

#include <atomic>
#include <memory>

#include "sclib/helpers/reader_callback.hpp"
#include "sclib/provider.hpp"
#include "sclib/reader.hpp"
#include "sclib/reader_monitor.hpp"

namespace sclib::helpers::detail {

// Watches the card of one reader for the card notifier and forwards its insertions and removals
// to the callback. Its slots track the handler, so they fall silent once it is gone.
class ReaderHandler {
    struct Key {};

public:
    // Makes the reader monitor (not started: the notifier starts it) and connects the
    // card-inserted and card-removed slots. What the provider throws propagates.
    static std::shared_ptr<ReaderHandler> Create(Provider& provider,
                                                 std::shared_ptr<Reader>& reader,
                                                 ReaderCallback& callback);

    ReaderHandler(Key, std::shared_ptr<ReaderMonitor> monitor, ReaderCallback& callback);
    ReaderHandler(ReaderHandler const&) = delete;
    ReaderHandler& operator=(ReaderHandler const&) = delete;

    // The slots: set the card flag, then call the callback, so the flag is right even when the
    // callback throws. They never take the notifier's mutex.
    void handleCardInsert(std::shared_ptr<Reader> const& reader);
    void handleCardRemove(std::shared_ptr<Reader> const& reader);

    std::shared_ptr<ReaderMonitor> const& getMonitor() const { return monitor_; }
    bool isCardPresent() const { return cardPresent_.load(); }

private:
    std::shared_ptr<ReaderMonitor> monitor_;
    ReaderCallback& callback_;
    std::atomic<bool> cardPresent_{false};
};

}  // namespace sclib::helpers::detail
