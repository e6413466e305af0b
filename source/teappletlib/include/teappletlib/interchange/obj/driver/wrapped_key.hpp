#pragma once

#include <string>

#include "teappletlib/interchange/key_id.hpp"

namespace teappletlib::interchange::obj::driver {

// A symmetric key as the card hands it out wrapped, with the key that unwraps it.
struct WrappedKey {
    KeyId keyId;
    std::basic_string<unsigned char> bytes;
};

inline bool operator==(WrappedKey const& a, WrappedKey const& b) {
    return a.keyId == b.keyId && a.bytes == b.bytes;
}
inline bool operator!=(WrappedKey const& a, WrappedKey const& b) {
    return !(a == b);
}

}  // namespace teappletlib::interchange::obj::driver
