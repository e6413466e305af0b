#include "teappletlib/interchange/capabilities.hpp"

#include <algorithm>
#include <functional>

#include "velk/exceptions.hpp"

namespace teappletlib::interchange {

namespace {

template <class Op>
void combine(std::vector<bool>& bits, std::vector<bool> const& other, Op op) {
    auto const common = std::min(bits.size(), other.size());
    for (std::size_t i = 0; i < common; ++i) {
        bits[i] = op(bits[i], other[i]);
    }
}

}  // namespace

Capabilities Capabilities::buildWithBitSet(int n) {
    if (n < 0) {
        throw velk::InputError("Capability bit must not be negative");
    }
    Capabilities set;
    set.bits_.resize(static_cast<std::size_t>(n) + 1);
    set.bits_.back() = true;
    return set;
}

Capabilities& Capabilities::operator|=(Capabilities const& other) {
    bits_.resize(std::max(bits_.size(), other.bits_.size()));
    combine(bits_, other.bits_, std::bit_or<bool>());
    return *this;
}

Capabilities& Capabilities::operator^=(Capabilities const& other) {
    bits_.resize(std::max(bits_.size(), other.bits_.size()));
    combine(bits_, other.bits_, std::bit_xor<bool>());
    return *this;
}

Capabilities& Capabilities::operator&=(Capabilities const& other) {
    bits_.resize(std::min(bits_.size(), other.bits_.size()));
    combine(bits_, other.bits_, std::bit_and<bool>());
    return *this;
}

Capabilities::operator bool() const noexcept {
    return std::find(bits_.begin(), bits_.end(), true) != bits_.end();
}

Capabilities operator|(Capabilities a, Capabilities const& b) {
    return a |= b;
}
Capabilities operator&(Capabilities a, Capabilities const& b) {
    return a &= b;
}
Capabilities operator^(Capabilities a, Capabilities const& b) {
    return a ^= b;
}

bool operator==(Capabilities const& a, Capabilities const& b) {
    return !(a ^ b);
}

}  // namespace teappletlib::interchange
