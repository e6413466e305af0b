#pragma once

#include <memory>

#include <boost/signals2/signal.hpp>

#include "sclib/reader.hpp"

namespace sclib {

using ReaderSignal = boost::signals2::signal<void(std::shared_ptr<Reader>)>;

// Watches the card of one reader. Signals fire on the thread that pumps the monitor.
class ReaderMonitor {
public:
    explicit ReaderMonitor(std::shared_ptr<Reader> reader) : reader_(std::move(reader)) {}
    virtual ~ReaderMonitor() = default;
    ReaderMonitor(ReaderMonitor const&) = delete;
    ReaderMonitor& operator=(ReaderMonitor const&) = delete;

    // A card already present is reported once as inserted, on the next pump.
    virtual void Start() = 0;
    virtual void Stop() = 0;

    std::shared_ptr<Reader> GetReader() const { return reader_; }

    // Subscribers connect here; only the dispatch functions fire them.
    ReaderSignal& cardInserted() const { return cardInserted_; }
    ReaderSignal& cardRemoved() const { return cardRemoved_; }
    ReaderSignal& cardMute() const { return cardMute_; }
    // The reader's slot has gone.
    ReaderSignal& unavailable() const { return unavailable_; }

private:
    // Mutable: connecting is not a change of the monitor, and the signals guard themselves.
    mutable ReaderSignal cardInserted_;
    mutable ReaderSignal cardRemoved_;
    mutable ReaderSignal cardMute_;
    mutable ReaderSignal unavailable_;
    std::shared_ptr<Reader> reader_;
};

}  // namespace sclib
