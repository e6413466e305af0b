#pragma once

#include "teappletlib/interchange/capabilities.hpp"
#include "teappletlib/interchange/card_identifiers.hpp"
#include "teappletlib/interchange/lifecycle.hpp"
#include "teappletlib/interchange/object_limits.hpp"
#include "teappletlib/interchange/pin_length_range.hpp"
#include "velk/allocated_string.hpp"

namespace teappletlib::interchange::obj::driver {

// The applet as a whole: set-up, life cycle and what it can do.
class AppletManagerDriver {
public:
    virtual ~AppletManagerDriver() = default;

    virtual void initialiseApplet(ObjectLimits const& limits, PinLengthRange const& range,
                                  unsigned int tries,
                                  velk::basic_allocated_string<unsigned char> const& pin) = 0;
    virtual void setLifecycle(Lifecycle lifecycle) = 0;
    virtual Capabilities getCapabilities() const = 0;
    virtual ModelId getModelId() const = 0;
};

}  // namespace teappletlib::interchange::obj::driver
