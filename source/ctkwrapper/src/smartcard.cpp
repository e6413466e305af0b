#include "ctkwrapper/smartcard.hpp"

#include <utility>

#include "smartcard_impl.hpp"

namespace ctkwrapper {

Smartcard::Smartcard(std::unique_ptr<SmartcardImpl> impl) : impl_(std::move(impl)) {}
Smartcard::Smartcard(Smartcard&& other) noexcept = default;
Smartcard& Smartcard::operator=(Smartcard&& other) noexcept = default;
Smartcard::~Smartcard() = default;

bool Smartcard::isValid() const {
    return impl_->isValid();
}

std::error_code Smartcard::inSession(std::function<void()> body) {
    return impl_->inSession(body);
}

void Smartcard::transmitRequest(Bytes const& request, TransmitReply reply) {
    impl_->transmitRequest(request, std::move(reply));
}

std::basic_string<unsigned char> Smartcard::getAtr() const {
    return impl_->getAtr();
}

void Smartcard::beginSessionWithReply(std::function<void(std::error_code)> callback) {
    impl_->beginSessionWithReply(std::move(callback));
}

void Smartcard::setSensitive(bool sensitive) {
    impl_->setSensitive(sensitive);
}

bool Smartcard::getSensitive() const {
    return impl_->getSensitive();
}

}  // namespace ctkwrapper
