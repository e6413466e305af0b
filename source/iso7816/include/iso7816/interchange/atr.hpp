#pragma once

#include <string>

namespace iso7816::interchange {

// The raw answer-to-reset bytes, unparsed. Not secret.
class Atr {
public:
    explicit Atr(std::basic_string<unsigned char> raw) : raw_(std::move(raw)) {}

    std::basic_string<unsigned char> const& getRaw() const { return raw_; }

    friend bool operator==(Atr const& a, Atr const& b) noexcept { return a.raw_ == b.raw_; }
    friend bool operator!=(Atr const& a, Atr const& b) noexcept { return !(a == b); }

private:
    std::basic_string<unsigned char> raw_;
};

}  // namespace iso7816::interchange
