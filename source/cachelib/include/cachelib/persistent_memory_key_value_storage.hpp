#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

#include "cachelib/entry_handler.hpp"

namespace cachelib {

// Values under keys, shared by every entry handler made for the storage. Each handler operation
// takes the storage mutex; lock order is entry mutex first, then this one.
template <typename Value = void, typename Key = std::string>
class PersistentMemoryKeyValueStorage {
public:
    // The place under one key. Destroying a handler leaves the stored value in the storage.
    template <typename T>
    class EntryHandler final : public ::cachelib::EntryHandler<T> {
    public:
        EntryHandler(std::shared_ptr<PersistentMemoryKeyValueStorage> storage, Key key)
            : storage_(std::move(storage)), key_(std::move(key)) {}

        void invalidate() override { storage_->erase(key_); }
        std::shared_ptr<T> getValue() const override {
            return std::static_pointer_cast<T>(storage_->find(key_));
        }
        std::shared_ptr<T> setValue(T&& value) override {
            auto stored = std::make_shared<T>(std::move(value));
            storage_->store(key_, stored);
            return stored;
        }

    private:
        std::shared_ptr<PersistentMemoryKeyValueStorage> storage_;
        Key key_;
    };

private:
    std::shared_ptr<Value> find(Key const& key) const {
        std::lock_guard<std::mutex> lock(mutex_);
        auto const found = values_.find(key);
        return found == values_.end() ? nullptr : found->second;
    }

    // Replaced and erased values are released after the mutex, so their destructors never run
    // under it.
    void store(Key const& key, std::shared_ptr<Value> value) {
        std::unique_lock<std::mutex> lock(mutex_);
        std::swap(values_[key], value);
        lock.unlock();
    }

    void erase(Key const& key) {
        std::unique_lock<std::mutex> lock(mutex_);
        auto erased = values_.extract(key);
        lock.unlock();
    }

    mutable std::mutex mutex_;
    std::map<Key, std::shared_ptr<Value>> values_;
};

}  // namespace cachelib
