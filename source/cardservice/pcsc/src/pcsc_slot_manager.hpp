#pragma once

#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <winscard.h>

#include "cardservice/card_service.hpp"
#include "observer_list.hpp"
#include "serial_queue.hpp"

namespace cardservice::impl::pcsc {

class PcscContext;
class PcscSlot;

// The readers of the PC/SC daemon. One background thread follows them with status waits: the
// reader list (through the daemon's plug-and-play pseudo-reader) and each reader's card. When
// the daemon goes away every reader goes Missing; when it comes back its readers come back.
class PcscSlotManager : public SlotManager {
public:
    // Null when no PC/SC context can be established (no daemon, or no access to it).
    static std::shared_ptr<PcscSlotManager> create();

    ~PcscSlotManager() override;

    std::vector<std::string> slotNames() const override;
    void getSlotWithName(std::string const& name,
                         std::function<void(std::shared_ptr<Slot>)> reply) const override;

    ObservationId addObserver(std::string const& keyPath, unsigned options,
                              ChangeCallback callback) override;
    void removeObserver(ObservationId id) override;

private:
    PcscSlotManager() = default;

    struct Look {
        std::string name;
        DWORD eventState;
        AtrBytes atr;
    };

    void run_(std::shared_ptr<PcscContext> first);
    // Follows the readers until the context fails or the manager stops; the failure.
    LONG watch_(PcscContext const& context);
    // Applies one look at every present reader; readers not in it have gone.
    void apply_(std::vector<Look> const& looks);
    void setWatchedContext_(PcscContext const* context);
    void noteFirstLook_();
    bool isStopping_() const;
    // True when the manager is to stop.
    bool pause_(std::chrono::milliseconds duration);

    mutable std::mutex mutex_;  // names_ and slots_
    std::vector<std::string> names_;
    std::map<std::string, std::shared_ptr<PcscSlot>> slots_;

    std::recursive_mutex publishing_;  // as in PcscSlot
    ObserverList observers_{"slotNames"};

    // stop_ guards the fields below: the context the thread waits on, so that the destructor
    // can cancel that wait, and the end of the first look at the readers.
    mutable std::mutex stop_;
    std::condition_variable stopChanged_;
    bool stopRequested_ = false;
    bool firstLookDone_ = false;
    SCARDCONTEXT watched_ = 0;
    bool watching_ = false;

    mutable SerialQueue replies_;
    std::thread thread_;
};

}  // namespace cardservice::impl::pcsc
