#pragma once

namespace sclib::impl::ctk {

// What the event pump drives.
class Monitor {
public:
    virtual ~Monitor() = default;

    // Handles the events that have arrived since the last call; true if there was at least one.
    virtual bool Process() = 0;
};

}  // namespace sclib::impl::ctk
