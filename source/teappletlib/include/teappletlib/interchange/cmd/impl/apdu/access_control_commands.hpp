#pragma once

#include "iso7816/interchange/apdu_transmit.hpp"
#include "teappletlib/interchange/cmd/access_control_commands.hpp"

namespace teappletlib::interchange::cmd::impl::apdu {

// Each command is one short APDU sent once; no retry, chaining or secure messaging.
class AccessControlCommands : public cmd::AccessControlCommands {
public:
    explicit AccessControlCommands(iso7816::interchange::ApduTransmit& transmit)
        : transmit_(transmit) {}

    AuthObjectId createPin(PinLengthRange const& range, unsigned int tries, bool flag,
                           Acl const& acl) override;
    PinVerifyResult verifyPin(AuthObjectId id) const override;
    PinVerifyResult verifyPin(AuthObjectId id, Pin const& pin) const override;
    bool changePin(AuthObjectId id, Pin const& newPin) override;
    PinVerifyResult changePin(AuthObjectId id, Pin const& oldPin, Pin const& newPin) override;
    boost::optional<RetryCounter> getRetryCounter(AuthObjectId id) const override;
    boost::optional<std::uint16_t> getRetryCounterChallengeResponse(AuthObjectId id) const override;
    bool expirePin(AuthObjectId id) override;
    bool deauthenticate(AuthObjectId id, iso7816::interchange::ChannelId channel) const override;
    bool deauthenticate(AuthObjectId id) const override;
    bool deauthenticateAllChannels(AuthObjectId id) const override;
    void disableSecureMessaging() override;

private:
    iso7816::interchange::ApduTransmit& transmit_;
};

}  // namespace teappletlib::interchange::cmd::impl::apdu
