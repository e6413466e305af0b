#pragma once

#include <memory>

namespace cachelib {

// One typed value place inside a storage; the storage itself holds values type-erased.
template <typename T>
class EntryHandler {
public:
    virtual ~EntryHandler() = default;

    // Empties the place; a later getValue returns null.
    virtual void invalidate() = 0;
    // The stored value object itself (shared, not copied), or null when the place is empty.
    virtual std::shared_ptr<T> getValue() const = 0;
    // Replaces the stored value and returns the new value object.
    virtual std::shared_ptr<T> setValue(T&& value) = 0;
};

}  // namespace cachelib
