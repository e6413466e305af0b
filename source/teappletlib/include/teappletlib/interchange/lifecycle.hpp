#pragma once

#include <cstdint>

namespace teappletlib::interchange {

// Applet life-cycle state. The values are the applet's own and are passed through unchanged.
enum class Lifecycle : std::uint32_t {};

}  // namespace teappletlib::interchange
