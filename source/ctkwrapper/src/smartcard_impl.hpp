#pragma once

#include <memory>

#include "cardservice/card_service.hpp"
#include "ctkwrapper/smartcard.hpp"

namespace ctkwrapper {

// A card of the service, or null when the slot had no usable card. A null card answers every
// request with "token was not found" rather than pretend that a session or command succeeded.
class SmartcardImpl {
public:
    explicit SmartcardImpl(std::shared_ptr<cardservice::Card> card) : card_(std::move(card)) {}

    bool isValid() const { return card_ != nullptr; }
    std::error_code inSession(std::function<void()> const& body);
    void transmitRequest(Smartcard::Bytes const& request, Smartcard::TransmitReply reply);
    std::basic_string<unsigned char> getAtr() const;
    void beginSessionWithReply(std::function<void(std::error_code)> callback);
    void setSensitive(bool sensitive);
    bool getSensitive() const;

private:
    std::shared_ptr<cardservice::Card> const card_;
};

}  // namespace ctkwrapper
