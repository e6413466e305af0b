#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include <boost/signals2/connection.hpp>

#include "cardservice/memory/memory_service.hpp"
#include "sclib/impl/ctk/reader_monitor.hpp"
#include "testsupport/cardsim/card_simulator.hpp"
#include "velk/logger.hpp"
#include "velk/logger_callback.hpp"

namespace sclib::impl::ctk::test {

// Every test starts and ends with an in-memory card service that has no reader.
class ServiceTest : public ::testing::Test {
protected:
    void SetUp() override { cardservice::memory::reset(); }
    void TearDown() override { cardservice::memory::reset(); }

    static std::shared_ptr<testsupport::cardsim::CardSimulator> insertCard(
        std::string const& reader) {
        auto card = std::make_shared<testsupport::cardsim::CardSimulator>();
        cardservice::memory::insertCard(reader, card);
        return card;
    }
};

// Collects the messages logged at Warning and above while it lives.
class LogCapture {
public:
    LogCapture() {
        velk::SetLogger(std::make_shared<velk::LoggerCallback>(
            velk::LogLevel::Warning,
            [this](std::string const& text) {
                std::lock_guard<std::mutex> lock(mutex_);
                messages_.push_back(text);
            },
            [](std::ostream& os, velk::Logger::Entry const& entry) { os << entry.message; }));
    }
    ~LogCapture() { velk::SetLogger(nullptr); }
    LogCapture(LogCapture const&) = delete;
    LogCapture& operator=(LogCapture const&) = delete;

    std::vector<std::string> messages() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return messages_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<std::string> messages_;
};

// The signals a reader monitor fired, by name, in order.
class SignalRecord {
public:
    explicit SignalRecord(ReaderMonitor const& monitor) {
        listen(monitor.cardInserted(), "inserted");
        listen(monitor.cardRemoved(), "removed");
        listen(monitor.cardMute(), "mute");
        listen(monitor.unavailable(), "unavailable");
        listen(monitor.resetSmartcard(), "reset");
    }

    std::vector<std::string> take() { return std::exchange(fired_, {}); }

private:
    void listen(ReaderSignal& signal, std::string name) {
        connections_.emplace_back(signal.connect(
            [this, name](std::shared_ptr<sclib::Reader> const&) { fired_.push_back(name); }));
    }

    std::vector<std::string> fired_;
    std::vector<boost::signals2::scoped_connection> connections_;
};

}  // namespace sclib::impl::ctk::test
