#pragma once

#include <memory>
#include <string>

#include "cardservice/card_service.hpp"
#include "ctkwrapper/kv_observe.hpp"

namespace ctkwrapper {

// A service object (null when the service had none) and the key path to observe on it.
class KvObservableImpl {
public:
    KvObservableImpl(std::shared_ptr<cardservice::KeyValueObservable> object, std::string keyPath)
        : object_(std::move(object)), keyPath_(std::move(keyPath)) {}

    KvObserver observe(KvCallback callback, KvObserveOptions options) const;

private:
    std::shared_ptr<cardservice::KeyValueObservable> const object_;
    std::string const keyPath_;
};

}  // namespace ctkwrapper
