#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace velk {

// Hands out one shared object per key for as long as anyone holds it, without keeping it alive.
// At most one object per key exists at any time, so pointer equality means identity: a new object
// for a key is constructed only after the previous one has been destroyed, and concurrent callers
// for one key all receive the object that is registered.
template <typename T, typename Key>
class WeakManager {
public:
    WeakManager() : impl_(std::make_shared<Impl>()) {}
    WeakManager(WeakManager const&) = delete;
    WeakManager& operator=(WeakManager const&) = delete;

    // The live object registered under key, or null.
    std::shared_ptr<T> Get(Key const& key) {
        std::lock_guard<std::mutex> lock(impl_->mutex);
        auto const found = impl_->entries.find(key);
        return found == impl_->entries.end() ? nullptr : found->second.lock();
    }

    // The live object registered under key, or a new T(args...) registered under it. T's
    // constructor runs without the manager's lock; it must not ask this manager for the same key,
    // and T's destructor must not call GetOrCreate for its own key.
    template <typename... Args>
    std::shared_ptr<T> GetOrCreate(Key const& key, Args&&... args) {
        std::unique_lock<std::mutex> lock(impl_->mutex);
        for (;;) {
            if (impl_->creating.count(key) == 0) {
                auto const found = impl_->entries.find(key);
                if (found == impl_->entries.end()) {
                    break;
                }
                if (auto live = found->second.lock()) {
                    return live;
                }
            }
            // Another thread is constructing the object, or the expired one is still being
            // destroyed; its deleter removes the entry and wakes us.
            impl_->changed.wait(lock);
        }
        impl_->creating.insert(key);
        lock.unlock();

        std::shared_ptr<T> created;
        try {
            Deleter deleter{impl_, key};
            created = std::shared_ptr<T>(new T(std::forward<Args>(args)...), std::move(deleter));
        } catch (...) {
            finishCreating_(key, nullptr);
            throw;
        }
        finishCreating_(key, created);
        return created;
    }

private:
    struct Impl {
        std::mutex mutex;
        std::unordered_map<Key, std::weak_ptr<T>> entries;
        // Keys whose object is being constructed outside the mutex.
        std::unordered_set<Key> creating;
        // Signalled when an entry is added or removed or a construction ends.
        std::condition_variable changed;
    };

    struct Deleter {
        std::weak_ptr<Impl> impl;
        Key key;

        void operator()(T* object) const noexcept {
            // Destroy first: a waiting GetOrCreate must not build the successor while the old
            // object still exists.
            delete object;
            if (auto state = impl.lock()) {
                std::lock_guard<std::mutex> lock(state->mutex);
                auto const found = state->entries.find(key);
                // Never remove the registration of a live object.
                if (found != state->entries.end() && found->second.expired()) {
                    state->entries.erase(found);
                }
                state->changed.notify_all();
            }
        }
    };

    void finishCreating_(Key const& key, std::shared_ptr<T> const& created) {
        std::lock_guard<std::mutex> lock(impl_->mutex);
        impl_->creating.erase(key);
        if (created) {
            impl_->entries.emplace(key, created);
        }
        impl_->changed.notify_all();
    }

    std::shared_ptr<Impl> impl_;
};

}  // namespace velk
