#include "ctkwrapper/kv_observe.hpp"

#include <utility>

#include "kv_observable_impl.hpp"
#include "kv_observer_impl.hpp"

namespace ctkwrapper {

namespace {

// The service knows the options New, Old, Initial and Prior; other bits are dropped.
constexpr std::uint32_t knownOptions = 0xF;

}  // namespace

KvObserveOptions operator|(KvObserveOptions a, KvObserveOptions b) {
    return static_cast<KvObserveOptions>(static_cast<std::uint32_t>(a) |
                                         static_cast<std::uint32_t>(b));
}

KvObserveOptions operator&(KvObserveOptions a, KvObserveOptions b) {
    return static_cast<KvObserveOptions>(static_cast<std::uint32_t>(a) &
                                         static_cast<std::uint32_t>(b));
}

KvObserver KvObservableImpl::observe(KvCallback callback, KvObserveOptions options) const {
    auto observer = std::make_unique<detail::Observer>(object_, keyPath_, std::move(callback));
    observer->start(static_cast<std::uint32_t>(options) & knownOptions);
    return KvObserver(std::make_unique<KvObserverImpl>(std::move(observer)));
}

KvObserver::KvObserver() = default;
KvObserver::KvObserver(std::unique_ptr<KvObserverImpl> impl) : impl_(std::move(impl)) {}
KvObserver::KvObserver(KvObserver&& other) noexcept = default;
// unique_ptr's assignment installs the new implementation before it destroys the old one.
KvObserver& KvObserver::operator=(KvObserver&& other) noexcept = default;
KvObserver::~KvObserver() = default;

bool KvObserver::isValid() const {
    return impl_ != nullptr;
}

KvObservable::KvObservable(std::unique_ptr<KvObservableImpl> impl) : impl_(std::move(impl)) {}
KvObservable::KvObservable(KvObservable&& other) noexcept = default;
KvObservable& KvObservable::operator=(KvObservable&& other) noexcept = default;
KvObservable::~KvObservable() = default;

KvObserver KvObservable::observe(KvCallback callback, KvObserveOptions options) const {
    return impl_->observe(std::move(callback), options);
}

}  // namespace ctkwrapper
