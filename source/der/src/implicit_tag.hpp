#pragma once

#include "der/der_string.hpp"

namespace der::detail {

// The universal tag itself, or any one-octet context-specific tag, so that implicitly tagged
// fields ([0] INTEGER and the like) decode like the universal type. A multi-octet identifier
// never passes: its last octet has bit 8 clear.
inline bool HasUniversalOrContextTag(CDerString const& der, unsigned long universal) noexcept {
    unsigned long const raw = der.RawTag();
    return raw == universal || (raw & 0xC0UL) == 0x80UL;
}

// The element is accepted and its whole value is present.
inline bool IsCompleteWithTag(CDerString const& der, unsigned long universal) noexcept {
    return HasUniversalOrContextTag(der, universal) && der.DerLen() != 0;
}

}  // namespace der::detail
