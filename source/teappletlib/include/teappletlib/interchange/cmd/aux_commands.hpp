#pragma once

#include "teappletlib/interchange/lifecycle.hpp"
#include "teappletlib/interchange/object_limits.hpp"
#include "teappletlib/interchange/pin_length_range.hpp"
#include "velk/allocated_string.hpp"

namespace teappletlib::interchange::cmd {

// Administration of the applet as a whole.
class AuxCommands {
public:
    virtual ~AuxCommands() = default;

    // The master PIN is padded with 00 bytes to the range's max before it is sent.
    virtual void initialiseApplet(ObjectLimits const& limits, PinLengthRange const& range,
                                  unsigned int tries,
                                  velk::basic_allocated_string<unsigned char> const& pin) = 0;
    // The value travels in one byte; a larger one is refused before anything is sent.
    virtual void setLifecycle(Lifecycle lifecycle) = 0;
};

}  // namespace teappletlib::interchange::cmd
