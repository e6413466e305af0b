#pragma once

#include <exception>
#include <string>

namespace engine::detail {

// What the engine reports on OpenSSL's error queue, which is all that a user of the openssl
// tool sees.
enum class Reason : int {
    NoCard = 100,
    CardServiceUnavailable,
    WrongPin,
    PinBlocked,
    NotLoggedIn,
    CardChanged,
    CardRemoved,
    CardError,
    UnsupportedPadding,
    SignatureTooLong,
    CertificateUnreadable,
    NullArgument,
    CardKeyDoesNotDecrypt,
    Internal,
    NoReader,
    NoCardInReader,
    CardNotSupported,
    ReaderFailed,
    KeyOutdated,
};

// Registers the engine's error texts with OpenSSL; safe to call more than once.
void loadErrorStrings();

void raiseError(Reason reason, std::string const& detail = {});

// Puts the exception that left a card operation on the error queue. Also takes the pointer to
// std::invalid_argument that the C interface throws when there is no current card, deletes it
// and reports why there is none.
void raiseCurrentException() noexcept;

}  // namespace engine::detail
