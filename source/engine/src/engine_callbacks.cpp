#include "engine_callbacks.hpp"

namespace engine::detail {

void EnablerCallback::setHandlers(Handler inserted, Handler removed) {
    removed_ = std::move(removed);
    inserted_ = std::move(inserted);
}

void EnablerCallback::cardInserted(std::shared_ptr<pavlenenabler::iface::Smartcard> card) {
    if (inserted_) {
        inserted_(std::move(card));
    }
}

void EnablerCallback::cardRemoved(std::shared_ptr<pavlenenabler::iface::Smartcard> card) {
    if (removed_) {
        removed_(std::move(card));
    }
}

void EventCallback::eventLog(std::string const& message) {
    std::string const text = "enabler event:" + message;
    static_cast<void>(text);
}

}  // namespace engine::detail
