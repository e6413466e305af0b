#pragma once

#include <memory>
#include <mutex>
#include <utility>

#include "cachelib/entry_handler.hpp"
#include "cachelib/entry_view.hpp"

namespace cachelib {

// A cached value place with its own mutex: fetch-or-load and update are serialised per entry.
template <typename T>
class Entry {
public:
    // Exclusive access to the place for callers that combine reads and writes themselves; the
    // entry mutex is held for the lifetime of this object.
    class Locked {
    public:
        std::shared_ptr<T> getValue() const { return handler_.getValue(); }
        std::shared_ptr<T> setValue(T&& value) { return handler_.setValue(std::move(value)); }
        void invalidate() { handler_.invalidate(); }

    private:
        friend class Entry;
        Locked(std::mutex& mutex, EntryHandler<T>& handler) : lock_(mutex), handler_(handler) {}

        std::unique_lock<std::mutex> lock_;
        EntryHandler<T>& handler_;
    };

    explicit Entry(std::shared_ptr<EntryHandler<T>> handler) : handler_(std::move(handler)) {}
    Entry(Entry const&) = delete;
    Entry& operator=(Entry const&) = delete;

    Locked lock() { return Locked(mutex_, *handler_); }

    // The stored value; an empty place is filled with loader(). The loader runs under the entry
    // mutex, so concurrent fetches of one entry load once. When the loader or the store throws,
    // the place stays empty and the next fetch loads again.
    template <typename Loader>
    EntryView<T> fetch(Loader&& loader) {
        auto locked = lock();
        auto value = locked.getValue();
        if (!value) {
            value = locked.setValue(std::forward<Loader>(loader)());
        }
        return EntryView<T>(std::move(value));
    }

    void update(T value) { lock().setValue(std::move(value)); }

private:
    std::mutex mutex_;
    std::shared_ptr<EntryHandler<T>> handler_;
};

}  // namespace cachelib
