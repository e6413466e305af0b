#pragma once

#include <list>
#include <memory>

namespace cachelib {

template <typename Value>
class PersistentMemoryCache;

// Unkeyed value slots, one per entry handler. A list keeps each slot's position valid while other
// slots come and go. There is no lock: the owner serialises every use of one storage.
template <typename Value = void>
class PersistentMemoryStorage {
public:
    // Drops every slot's value; the slots and their handlers stay valid.
    void invalidateAll() {
        for (auto& slot : slots_) {
            slot.reset();
        }
    }

private:
    // Slots are added and removed only by the entry handlers that own them.
    template <typename>
    friend class PersistentMemoryCache;

    using Slots = std::list<std::shared_ptr<Value>>;
    using Slot = typename Slots::iterator;

    Slot addSlot() { return slots_.emplace(slots_.end()); }
    void removeSlot(Slot slot) noexcept { slots_.erase(slot); }

    Slots slots_;
};

}  // namespace cachelib
