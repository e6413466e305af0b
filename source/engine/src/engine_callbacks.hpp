#pragma once

#include <functional>
#include <memory>
#include <string>

#include "pavlenenabler/iface/enabler_callback.hpp"
#include "pavlenenabler/iface/event_callback.hpp"
#include "pavlenenabler/iface/smartcard.hpp"

namespace engine::detail {

// Receives card insertion and removal on the event thread and hands them to its handlers.
class EnablerCallback : public pavlenenabler::iface::EnablerCallback {
public:
    using Handler = std::function<void(std::shared_ptr<pavlenenabler::iface::Smartcard>)>;

    // Only while no event is delivered: the handlers are read without a lock.
    void setHandlers(Handler inserted, Handler removed);

    void cardInserted(std::shared_ptr<pavlenenabler::iface::Smartcard> card) override;
    void cardRemoved(std::shared_ptr<pavlenenabler::iface::Smartcard> card) override;

private:
    Handler inserted_;
    Handler removed_;
};

// The engine writes nothing anywhere: event texts are formed and dropped.
class EventCallback : public pavlenenabler::iface::EventCallback {
public:
    void eventLog(std::string const& message) override;
};

}  // namespace engine::detail
