#include "card_connection.hpp"

#include <pcsclite.h>

namespace cardservice::impl::pcsc {
namespace {

constexpr DWORD AnyProtocol = SCARD_PROTOCOL_T0 | SCARD_PROTOCOL_T1;

}  // namespace

CardConnection::~CardConnection() {
    if (connected_) {
        SCardDisconnect(handle_, SCARD_LEAVE_CARD);
    }
}

LONG CardConnection::open(std::string const& reader) {
    context_ = std::make_unique<PcscContext>();
    if (!context_->valid()) {
        return context_->result();
    }
    LONG const result = SCardConnect(context_->get(), reader.c_str(), SCARD_SHARE_SHARED,
                                     AnyProtocol, &handle_, &protocol_);
    connected_ = result == SCARD_S_SUCCESS;
    return result;
}

LONG CardConnection::reconnectAfterReset_(ResetReporter const& reportReset) {
    LONG const result =
        SCardReconnect(handle_, SCARD_SHARE_SHARED, AnyProtocol, SCARD_LEAVE_CARD, &protocol_);
    if (result == SCARD_S_SUCCESS) {
        reportReset();
    }
    return result;
}

LONG CardConnection::beginTransaction(ResetReporter const& reportReset) {
    LONG result = SCardBeginTransaction(handle_);
    if (result == SCARD_W_RESET_CARD) {
        result = reconnectAfterReset_(reportReset);
        if (result == SCARD_S_SUCCESS) {
            result = SCardBeginTransaction(handle_);
        }
    }
    return result;
}

LONG CardConnection::endTransaction() {
    return SCardEndTransaction(handle_, SCARD_LEAVE_CARD);
}

LONG CardConnection::transmit(Bytes const& command, Bytes& response,
                              ResetReporter const& reportReset) {
    SCARD_IO_REQUEST const* const pci =
        protocol_ == SCARD_PROTOCOL_T0 ? SCARD_PCI_T0 : SCARD_PCI_T1;
    // A zero-erasing buffer: the answer may hold card secrets, and is wiped when freed.
    Bytes received(MAX_BUFFER_SIZE, 0);
    DWORD length = static_cast<DWORD>(received.size());
    LONG const result =
        SCardTransmit(handle_, pci, command.data(), static_cast<DWORD>(command.size()), nullptr,
                      received.data(), &length);
    if (result == SCARD_W_RESET_CARD) {
        reconnectAfterReset_(reportReset);
        return result;
    }
    if (result == SCARD_S_SUCCESS) {
        received.resize(length);
        response = std::move(received);
    }
    return result;
}

}  // namespace cardservice::impl::pcsc
