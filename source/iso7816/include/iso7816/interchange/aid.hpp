#pragma once

#include <string>

namespace iso7816::interchange {

// An application identifier, as raw bytes. Not secret.
class Aid {
public:
    explicit Aid(std::basic_string<unsigned char> raw) : raw_(std::move(raw)) {}

    std::basic_string<unsigned char> const& getRaw() const { return raw_; }

    friend bool operator==(Aid const& a, Aid const& b) noexcept { return a.raw_ == b.raw_; }
    friend bool operator!=(Aid const& a, Aid const& b) noexcept { return !(a == b); }

private:
    std::basic_string<unsigned char> raw_;
};

}  // namespace iso7816::interchange
