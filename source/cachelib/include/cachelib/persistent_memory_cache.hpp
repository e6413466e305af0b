#pragma once

#include <memory>
#include <utility>

#include "cachelib/entry.hpp"
#include "cachelib/entry_handler.hpp"
#include "cachelib/persistent_memory_storage.hpp"
#include "velk/exceptions.hpp"

namespace cachelib {

// Typed front of a slot storage; copies share the storage.
template <typename Value = void>
class PersistentMemoryCache {
public:
    using Storage = PersistentMemoryStorage<Value>;

    // Owns one slot of the storage for as long as it lives.
    template <typename T>
    class EntryHandler final : public ::cachelib::EntryHandler<T> {
    public:
        explicit EntryHandler(std::shared_ptr<Storage> storage)
            : storage_(std::move(storage)), slot_(storage_->addSlot()) {}
        ~EntryHandler() override { storage_->removeSlot(slot_); }
        EntryHandler(EntryHandler const&) = delete;
        EntryHandler& operator=(EntryHandler const&) = delete;

        void invalidate() override { slot_->reset(); }
        std::shared_ptr<T> getValue() const override { return std::static_pointer_cast<T>(*slot_); }
        std::shared_ptr<T> setValue(T&& value) override {
            auto stored = std::make_shared<T>(std::move(value));
            *slot_ = stored;
            return stored;
        }

    private:
        std::shared_ptr<Storage> storage_;
        typename Storage::Slot slot_;
    };

    explicit PersistentMemoryCache(std::shared_ptr<Storage> storage)
        : storage_(std::move(storage)) {
        if (!storage_) {
            throw velk::InputError("A cache needs a storage");
        }
    }

    // A new entry on a new slot; destroying the entry removes the slot.
    template <typename T>
    std::unique_ptr<Entry<T>> createEntry() const {
        return std::make_unique<Entry<T>>(std::make_shared<EntryHandler<T>>(storage_));
    }

    Storage& getStorage() const { return *storage_; }

private:
    std::shared_ptr<Storage> storage_;
};

}  // namespace cachelib
