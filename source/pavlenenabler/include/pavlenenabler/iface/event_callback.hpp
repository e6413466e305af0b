#pragma once

#include <string>

namespace pavlenenabler::iface {

// Receives one line of text about an event or a log entry, on whatever thread it happened.
class EventCallback {
public:
    virtual ~EventCallback() = default;

    virtual void eventLog(std::string const& text) = 0;
};

}  // namespace pavlenenabler::iface
