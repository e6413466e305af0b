#pragma once

namespace iso7816::interchange {

// A plain number kept apart from other numbers of the same width by its tag, so that a file
// identifier can never be passed where a data tag is expected. Ordered, because callers key maps
// by instruction byte.
template <class T, class Tag>
class TaggedValue {
public:
    using ValueType = T;

    constexpr TaggedValue() noexcept = default;
    constexpr explicit TaggedValue(T value) noexcept : value_(value) {}

    constexpr T GetValue() const noexcept { return value_; }

    friend constexpr bool operator==(TaggedValue const& a, TaggedValue const& b) noexcept {
        return a.value_ == b.value_;
    }
    friend constexpr bool operator!=(TaggedValue const& a, TaggedValue const& b) noexcept {
        return !(a == b);
    }
    friend constexpr bool operator<(TaggedValue const& a, TaggedValue const& b) noexcept {
        return a.value_ < b.value_;
    }
    friend constexpr bool operator>(TaggedValue const& a, TaggedValue const& b) noexcept {
        return b < a;
    }
    friend constexpr bool operator<=(TaggedValue const& a, TaggedValue const& b) noexcept {
        return !(b < a);
    }
    friend constexpr bool operator>=(TaggedValue const& a, TaggedValue const& b) noexcept {
        return !(a < b);
    }

protected:
    T value_{};
};

}  // namespace iso7816::interchange
