#include "observer.hpp"

#include <exception>
#include <utility>

#include "velk/log_writing_stream.hpp"
#include "velk/path.hpp"

namespace ctkwrapper::detail {

Observer::Observer(std::shared_ptr<cardservice::KeyValueObservable> observable, std::string keyPath,
                   KvCallback callback)
    : observable_(std::move(observable)),
      keyPath_(std::move(keyPath)),
      callback_(std::move(callback)) {}

void Observer::start(unsigned options) {
    if (observable_) {
        id_ = observable_->addObserver(keyPath_, options, callback_);
    }
}

void Observer::stop() noexcept {
    if (!id_) {
        return;
    }
    try {
        observable_->removeObserver(*id_);
    } catch (std::exception const& e) {
        velk::LogWritingStream(velk::GetLogger(), velk::LogLevel::Error,
                               velk::GetFileName(__FILE__), __LINE__)
            << "Unable to stop observing " << keyPath_ << ": " << e.what() << std::endl;
    }
    id_.reset();
}

}  // namespace ctkwrapper::detail
