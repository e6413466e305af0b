#include "pcsc_error.hpp"

#include <pcsclite.h>

#include <utility>

namespace cardservice::impl::pcsc {
namespace {

struct Mapping {
    LONG result;
    ErrorCode code;
};

// Everything about a card or reader that is no longer there is "token not found"; whatever
// went wrong on the way to the card is a communication error; the rest is listed as the
// caller's mistake or as missing functionality.
constexpr Mapping Mappings[] = {
    {static_cast<LONG>(SCARD_W_REMOVED_CARD), TokenNotFound},
    {static_cast<LONG>(SCARD_E_NO_SMARTCARD), TokenNotFound},
    {static_cast<LONG>(SCARD_E_UNKNOWN_READER), TokenNotFound},
    {static_cast<LONG>(SCARD_E_READER_UNAVAILABLE), TokenNotFound},
    {static_cast<LONG>(SCARD_E_NO_READERS_AVAILABLE), TokenNotFound},
    {static_cast<LONG>(SCARD_W_UNPOWERED_CARD), TokenNotFound},
    {static_cast<LONG>(SCARD_W_UNRESPONSIVE_CARD), CommunicationError},
    {static_cast<LONG>(SCARD_W_UNSUPPORTED_CARD), CommunicationError},
    {static_cast<LONG>(SCARD_E_COMM_DATA_LOST), CommunicationError},
    {static_cast<LONG>(SCARD_F_COMM_ERROR), CommunicationError},
    {static_cast<LONG>(SCARD_E_NOT_TRANSACTED), CommunicationError},
    {static_cast<LONG>(SCARD_E_PROTO_MISMATCH), CommunicationError},
    {static_cast<LONG>(SCARD_E_SHARING_VIOLATION), CommunicationError},
    {static_cast<LONG>(SCARD_W_RESET_CARD), CommunicationError},
    {static_cast<LONG>(SCARD_E_TIMEOUT), CommunicationError},
    {static_cast<LONG>(SCARD_E_NO_SERVICE), CommunicationError},
    {static_cast<LONG>(SCARD_E_SERVICE_STOPPED), CommunicationError},
    {static_cast<LONG>(SCARD_E_INVALID_HANDLE), CommunicationError},
    {static_cast<LONG>(SCARD_E_INVALID_PARAMETER), BadParameter},
    {static_cast<LONG>(SCARD_E_INVALID_VALUE), BadParameter},
    {static_cast<LONG>(SCARD_E_INSUFFICIENT_BUFFER), BadParameter},
    {static_cast<LONG>(SCARD_E_UNSUPPORTED_FEATURE), NotImplemented},
    {static_cast<LONG>(SCARD_E_CANCELLED), CanceledByUser},
};

std::int64_t codeOfPcscResult(LONG result) {
    for (Mapping const& mapping : Mappings) {
        if (mapping.result == result) {
            return mapping.code;
        }
    }
    return CommunicationError;
}

}  // namespace

ErrorPtr makeError(ErrorCode code, std::string description) {
    return std::make_shared<Error const>(code, std::move(description));
}

ErrorPtr errorFromPcsc(LONG result, std::string const& operation) {
    if (result == SCARD_S_SUCCESS) {
        return nullptr;
    }
    return std::make_shared<Error const>(codeOfPcscResult(result),
                                         operation + ": " + pcsc_stringify_error(result));
}

}  // namespace cardservice::impl::pcsc
