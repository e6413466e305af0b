#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "cardservice/card_service.hpp"
#include "memory_slot.hpp"
#include "observed_key.hpp"
#include "reply_worker.hpp"

namespace cardservice::memory::detail {

// The reader list of the in-memory service. One object lives for the whole process, so that
// handles taken before a test's reset() keep seeing the readers of later tests.
class MemorySlotManager : public SlotManager {
public:
    MemorySlotManager();

    std::vector<std::string> slotNames() const override;
    void getSlotWithName(std::string const& name,
                         std::function<void(std::shared_ptr<Slot>)> reply) const override;

    ObservationId addObserver(std::string const& keyPath, unsigned options,
                              ChangeCallback callback) override;
    void removeObserver(ObservationId id) override;

    // Test control; see memory_service.hpp.
    void addReader(std::string const& name);
    void removeReader(std::string const& name);
    void removeAllReaders();
    // Throws std::invalid_argument when no reader of that name is present.
    std::shared_ptr<MemorySlot> reader(std::string const& name) const;
    void holdLookups(bool held);

private:
    // Under mutex_.
    std::shared_ptr<MemorySlot> find_(std::string const& name) const;
    void publishNames_();

    std::shared_ptr<ReplyWorker> const worker_;
    ObservedKey names_;

    // Guards the list and the held lookups; the list's changes are recorded in names_ under it,
    // so they stay in order.
    mutable std::mutex mutex_;
    std::vector<std::shared_ptr<MemorySlot>> slots_;
    bool lookupsHeld_ = false;
    // The answers kept back while lookups are held.
    mutable std::vector<std::function<void()>> heldLookups_;
};

}  // namespace cardservice::memory::detail
