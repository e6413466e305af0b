#pragma once

#include <cstdint>

namespace teappletlib::interchange::cmd {

// Public part of an RSA key that can be read back from a key slot.
enum class RsaComponent : std::uint32_t { Modulus = 1, PublicExponent = 2 };

}  // namespace teappletlib::interchange::cmd
