#pragma once

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>

#include "cardservice/card_service.hpp"
#include "testsupport/cardsim/card_simulator.hpp"

namespace cardservice::memory::detail {

// One card in one reader, from insertion to removal: the simulator that plays it, whether it is
// mute, and its exclusive session, shared by every card object made from this insertion.
class CardInsertion {
public:
    explicit CardInsertion(std::shared_ptr<testsupport::cardsim::CardSimulator> card);

    // The card's answer; the simulator's plain copy is erased.
    Bytes transmit(Bytes const& command);
    AtrBytes atr() const;
    void reset();

    bool mute() const { return mute_; }
    void setMute(bool mute) { mute_ = mute; }

    // Waits until no other session is open, then opens one.
    void openSession();
    // Opens a session only when none is open.
    bool tryOpenSession();
    void closeSession();
    bool sessionOpen() const;

private:
    std::shared_ptr<testsupport::cardsim::CardSimulator> const card_;
    std::atomic<bool> mute_{false};

    mutable std::mutex sessionMutex_;
    std::condition_variable sessionClosed_;
    bool sessionOpen_ = false;
};

// Holds a session of an insertion for one scope.
class SessionScope {
public:
    explicit SessionScope(CardInsertion& insertion) : insertion_(insertion) {
        insertion_.openSession();
    }
    ~SessionScope() { insertion_.closeSession(); }
    SessionScope(SessionScope const&) = delete;
    SessionScope& operator=(SessionScope const&) = delete;

private:
    CardInsertion& insertion_;
};

}  // namespace cardservice::memory::detail
