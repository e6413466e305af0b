#pragma once

#include <cstdint>

namespace pavlenenabler::iface {

// One of the card's three key and certificate pairs; its key slot is the value plus 1.
enum class KeyCertType : std::uint32_t {
    Authentication = 0,
    Confidentiality = 1,
    Signature = 2,
};

}  // namespace pavlenenabler::iface
