#pragma once

#include <utility>

namespace velk {

// Holds one Value; the Tag keeps wrappers of equal Value types apart as unrelated types.
template <class Value, class Tag>
class StrongType {
public:
    constexpr StrongType() = default;
    constexpr explicit StrongType(Value const& value) : value_(value) {}
    constexpr explicit StrongType(Value&& value) : value_(std::move(value)) {}

    constexpr Value& get() noexcept { return value_; }
    constexpr Value const& get() const noexcept { return value_; }

private:
    Value value_{};
};

}  // namespace velk
