#pragma once

#include <memory>
#include <utility>

#include "cachelib/entry.hpp"
#include "cachelib/persistent_memory_key_value_storage.hpp"
#include "velk/exceptions.hpp"

namespace cachelib {

// Typed front of a key-value storage. KeyToString maps a caller's key object to the storage key.
template <typename Value, typename Key, typename KeyToString>
class PersistentMemoryKeyValueCache {
public:
    using Storage = PersistentMemoryKeyValueStorage<Value, Key>;

    explicit PersistentMemoryKeyValueCache(std::shared_ptr<Storage> storage)
        : storage_(std::move(storage)) {
        if (!storage_) {
            throw velk::InputError("A cache needs a storage");
        }
    }

    // A new entry with its own mutex for the place under key. All entries for one key share the
    // stored value but do not exclude each other. The storage is not touched.
    template <typename T, typename CallerKey>
    std::shared_ptr<Entry<T>> get(CallerKey const& key) const {
        auto handler = std::make_shared<typename Storage::template EntryHandler<T>>(
            storage_, KeyToString{}(key));
        return std::make_shared<Entry<T>>(std::move(handler));
    }

private:
    std::shared_ptr<Storage> storage_;
};

}  // namespace cachelib
