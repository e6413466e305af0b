#pragma once

#include "teappletlib/interchange/card_identifiers.hpp"

namespace teappletlib::interchange::obj::driver {

// What the card tells of itself.
class InfoManagerDriver {
public:
    virtual ~InfoManagerDriver() = default;

    virtual SerialNumber getSerialNumber() const = 0;
};

}  // namespace teappletlib::interchange::obj::driver
