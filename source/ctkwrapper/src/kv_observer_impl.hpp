#pragma once

#include <memory>

#include "observer.hpp"

namespace ctkwrapper {

// The registration behind a KvObserver: it ends when this is destroyed.
class KvObserverImpl {
public:
    explicit KvObserverImpl(std::unique_ptr<detail::Observer> observer)
        : observer_(std::move(observer)) {}
    ~KvObserverImpl() { observer_->stop(); }
    KvObserverImpl(KvObserverImpl const&) = delete;
    KvObserverImpl& operator=(KvObserverImpl const&) = delete;

private:
    std::unique_ptr<detail::Observer> const observer_;
};

}  // namespace ctkwrapper
