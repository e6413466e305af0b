#pragma once

#include <array>
#include <ostream>

#include "velk/strong_type.hpp"

namespace teappletlib::interchange {

struct ModelIdTag {};
struct SerialNumberTag {};

using ModelId = velk::StrongType<std::array<unsigned char, 2>, ModelIdTag>;
using SerialNumber = velk::StrongType<std::array<unsigned char, 8>, SerialNumberTag>;

// Lower-case hex bytes separated by one space: 01 a2.
std::ostream& operator<<(std::ostream& os, ModelId const& id);
std::ostream& operator<<(std::ostream& os, SerialNumber const& number);

}  // namespace teappletlib::interchange
