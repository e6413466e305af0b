#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "cardservice/card_service.hpp"

namespace ctkwrapper {

enum class KvObserveOptions : std::uint32_t { New = 1, Old = 2, Initial = 4, Prior = 8 };

KvObserveOptions operator|(KvObserveOptions a, KvObserveOptions b);
KvObserveOptions operator&(KvObserveOptions a, KvObserveOptions b);

// The value of the observed key at the change that caused the call.
using KvValue = cardservice::ObservedValue;
using KvCallback = std::function<void(KvValue const&)>;

class KvObserverImpl;
class KvObservableImpl;

// A running observation: the callback is called on every change while it lives. Destroying or
// overwriting it ends the observation.
class KvObserver {
public:
    KvObserver();
    explicit KvObserver(std::unique_ptr<KvObserverImpl> impl);
    KvObserver(KvObserver&& other) noexcept;
    KvObserver& operator=(KvObserver&& other) noexcept;
    ~KvObserver();

    bool isValid() const;

private:
    std::unique_ptr<KvObserverImpl> impl_;
};

// An object of the service with one observable key path.
class KvObservable {
public:
    explicit KvObservable(std::unique_ptr<KvObservableImpl> impl);
    KvObservable(KvObservable&& other) noexcept;
    KvObservable& operator=(KvObservable&& other) noexcept;
    ~KvObservable();

    // With KvObserveOptions::Initial the callback runs once on this thread before this returns;
    // later calls come on the service's threads.
    KvObserver observe(KvCallback callback, KvObserveOptions options) const;

private:
    std::unique_ptr<KvObservableImpl> impl_;
};

}  // namespace ctkwrapper
