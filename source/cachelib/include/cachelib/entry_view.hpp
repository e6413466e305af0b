#pragma once

#include <memory>
#include <utility>

namespace cachelib {

// Access to a cached value object. It shares the stored object: changes made through a view are
// seen by later reads of the same place, and the view keeps its object alive after the place is
// set again or invalidated.
template <typename T>
class EntryView {
public:
    explicit EntryView(std::shared_ptr<T> value) : value_(std::move(value)) {}

    T& operator*() const noexcept { return *value_; }
    T* operator->() const noexcept { return value_.get(); }

private:
    std::shared_ptr<T> value_;
};

}  // namespace cachelib
