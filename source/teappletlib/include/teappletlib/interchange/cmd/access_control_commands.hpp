#pragma once

#include <cstdint>

#include <boost/optional.hpp>

#include "iso7816/interchange/channel_id.hpp"
#include "teappletlib/interchange/acl.hpp"
#include "teappletlib/interchange/auth_object_id.hpp"
#include "teappletlib/interchange/pin_length_range.hpp"
#include "teappletlib/interchange/pin_verify_result.hpp"
#include "velk/allocated_string.hpp"

namespace teappletlib::interchange::cmd {

// State of a PIN object as its retry counter reports it.
enum class AuthObjectState : std::uint32_t {
    Code00 = 0,
    Code01 = 1,
    Code02 = 2,
    Code81 = 3,
    Code40 = 4,
    Code41 = 5,
};

struct RetryCounter {
    std::uint8_t first;  // passed on uninterpreted
    std::uint8_t remaining;
    AuthObjectState state;
};

// PIN objects: creation, verification, change, retry counters and verified state.
class AccessControlCommands {
public:
    using Pin = velk::basic_allocated_string<char>;

    virtual ~AccessControlCommands() = default;

    // Returns the reference of the new PIN object.
    virtual AuthObjectId createPin(PinLengthRange const& range, unsigned int tries, bool flag,
                                   Acl const& acl) = 0;
    // Asks whether the PIN object is verified, without presenting a PIN.
    virtual PinVerifyResult verifyPin(AuthObjectId id) const = 0;
    // Presents a PIN, which must not be empty (an empty one would be the status query).
    virtual PinVerifyResult verifyPin(AuthObjectId id, Pin const& pin) const = 0;
    // False when the security condition for setting the PIN is not met.
    virtual bool changePin(AuthObjectId id, Pin const& newPin) = 0;
    virtual PinVerifyResult changePin(AuthObjectId id, Pin const& oldPin, Pin const& newPin) = 0;
    // Empty when the object does not exist.
    virtual boost::optional<RetryCounter> getRetryCounter(AuthObjectId id) const = 0;
    virtual boost::optional<std::uint16_t> getRetryCounterChallengeResponse(
        AuthObjectId id) const = 0;
    virtual bool expirePin(AuthObjectId id) = 0;
    // Drop the verified state on the given channel (below 0x80), on the basic channel, or on all
    // channels; false when the object does not exist.
    virtual bool deauthenticate(AuthObjectId id, iso7816::interchange::ChannelId channel) const = 0;
    virtual bool deauthenticate(AuthObjectId id) const = 0;
    virtual bool deauthenticateAllChannels(AuthObjectId id) const = 0;
    virtual void disableSecureMessaging() = 0;
};

}  // namespace teappletlib::interchange::cmd
