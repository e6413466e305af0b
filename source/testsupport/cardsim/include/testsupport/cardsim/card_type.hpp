#pragma once

#include <cstdint>

#include "testsupport/cardsim/byte_vector.hpp"

namespace testsupport::cardsim {

// The four card generations the enabler accepts, and one it must pass over.
enum class CardType { Gen2, Gen3, Gen4, PavlenSmartcard1, Foreign };

// The answer-to-reset of each type.
ByteVector const& atrOf(CardType type);

// The PIN object that guards the keys: 2 on the second generation, 3 on every later card.
std::uint8_t pinObjectOf(CardType type);

}  // namespace testsupport::cardsim
