#pragma once

#include <memory>

#include "pavlenenabler/iface/smartcard.hpp"

namespace pavlenenabler::iface {

// Told of accepted cards coming and going, on the event thread.
class EnablerCallback {
public:
    virtual ~EnablerCallback() = default;

    virtual void cardInserted(std::shared_ptr<Smartcard> card) = 0;
    virtual void cardRemoved(std::shared_ptr<Smartcard> card) = 0;
};

}  // namespace pavlenenabler::iface
