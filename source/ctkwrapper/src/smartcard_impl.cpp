#include "smartcard_impl.hpp"

#include <utility>

#include "ctkwrapper/errors.hpp"

namespace ctkwrapper {

namespace {

std::error_code tokenNotFound() {
    cardservice::Error const error(cardservice::TokenNotFound);
    return createErrorCode(&error);
}

// Ends a session begun with beginSession when the reply is done, also when it throws.
class BegunSession {
public:
    explicit BegunSession(cardservice::Card& card) : card_(card) {}
    ~BegunSession() { card_.endSession(); }
    BegunSession(BegunSession const&) = delete;
    BegunSession& operator=(BegunSession const&) = delete;

private:
    cardservice::Card& card_;
};

}  // namespace

std::error_code SmartcardImpl::inSession(std::function<void()> const& body) {
    if (!card_) {
        return tokenNotFound();
    }
    cardservice::ErrorPtr error;
    card_->inSession(
        [&body] {
            body();
            return true;
        },
        error);
    return createErrorCode(error.get());
}

void SmartcardImpl::transmitRequest(Smartcard::Bytes const& request,
                                    Smartcard::TransmitReply reply) {
    if (!card_) {
        reply(tokenNotFound(), Smartcard::Bytes());
        return;
    }
    card_->transmitRequest(request, [reply = std::move(reply)](cardservice::Bytes const* response,
                                                               cardservice::ErrorPtr error) {
        // A response counts as success whatever error came with it.
        if (response != nullptr) {
            reply(createErrorCode(nullptr), *response);
        } else {
            reply(createErrorCode(error.get()), Smartcard::Bytes());
        }
    });
}

std::basic_string<unsigned char> SmartcardImpl::getAtr() const {
    if (!card_) {
        return {};
    }
    auto const slot = card_->slot();
    if (!slot) {
        return {};
    }
    return slot->atr().value_or(cardservice::AtrBytes());
}

void SmartcardImpl::beginSessionWithReply(std::function<void(std::error_code)> callback) {
    if (!card_) {
        callback(tokenNotFound());
        return;
    }
    card_->beginSession(
        [card = card_, callback = std::move(callback)](bool began, cardservice::ErrorPtr error) {
            BegunSession const session(*card);
            if (began) {
                callback(createErrorCode(nullptr));
            } else if (error) {
                callback(createErrorCode(error.get()));
            } else {
                // A refusal without an error object is still a failure.
                cardservice::Error const unknown(0);
                callback(createErrorCode(&unknown));
            }
        });
}

void SmartcardImpl::setSensitive(bool sensitive) {
    if (card_) {
        card_->setSensitive(sensitive);
    }
}

bool SmartcardImpl::getSensitive() const {
    return card_ && card_->sensitive();
}

}  // namespace ctkwrapper
