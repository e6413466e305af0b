#pragma once

#include <memory>
#include <optional>
#include <string>

#include "cardservice/card_service.hpp"
#include "ctkwrapper/kv_observe.hpp"

namespace ctkwrapper::detail {

// One observation of one key path of a service object, registered between start and stop.
// Observing a null object registers nothing.
class Observer {
public:
    Observer(std::shared_ptr<cardservice::KeyValueObservable> observable, std::string keyPath,
             KvCallback callback);
    Observer(Observer const&) = delete;
    Observer& operator=(Observer const&) = delete;

    // With cardservice::ObserveInitial the callback has run once on this thread on return.
    void start(unsigned options);
    // Ends the registration; no callback starts after it returns. Never throws.
    void stop() noexcept;

private:
    std::shared_ptr<cardservice::KeyValueObservable> const observable_;
    std::string const keyPath_;
    KvCallback const callback_;
    std::optional<cardservice::KeyValueObservable::ObservationId> id_;
};

}  // namespace ctkwrapper::detail
