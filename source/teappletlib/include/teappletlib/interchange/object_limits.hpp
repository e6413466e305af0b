#pragma once

#include <cstdint>

namespace teappletlib::interchange {

// The three object counts with which the applet is initialised; their meaning is the applet's.
struct ObjectLimits {
    std::uint32_t limit0;
    std::uint32_t limit1;
    std::uint32_t limit2;
};

}  // namespace teappletlib::interchange
