#include "other_client.hpp"

#include "pcsc_context.hpp"

namespace cardservice::pcsc::testing {

bool OtherClient::resetCard(std::string const& reader) {
    impl::pcsc::PcscContext const context;
    if (!context.valid()) {
        return false;
    }
    DWORD const protocols = SCARD_PROTOCOL_T0 | SCARD_PROTOCOL_T1;
    SCARDHANDLE handle = 0;
    DWORD protocol = 0;
    if (SCardConnect(context.get(), reader.c_str(), SCARD_SHARE_SHARED, protocols, &handle,
                     &protocol) != SCARD_S_SUCCESS) {
        return false;
    }
    bool const reset = SCardReconnect(handle, SCARD_SHARE_SHARED, protocols, SCARD_RESET_CARD,
                                      &protocol) == SCARD_S_SUCCESS;
    SCardDisconnect(handle, SCARD_LEAVE_CARD);
    return reset;
}

}  // namespace cardservice::pcsc::testing
