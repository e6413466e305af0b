#include "sclib/impl/ctk/card_io.hpp"

#include <future>
#include <memory>

#include "sclib/impl/ctk/provider.hpp"

namespace sclib::impl::ctk {

velk::basic_allocated_string<unsigned char> CardIo::Transmit(unsigned char const* data,
                                                             std::size_t size) {
    using Bytes = ctkwrapper::Smartcard::Bytes;
    Bytes const command(data, size);
    // Shared with the reply, which runs on the service's thread and may still be returning when
    // this thread has its result.
    auto reply = std::make_shared<std::packaged_task<Bytes(std::error_code, Bytes const&)>>(
        [](std::error_code code, Bytes const& response) {
            if (code) {
                Provider::ThrowException(code, "Transmit failed");
            }
            return response;
        });
    auto response = reply->get_future();
    card_->transmitRequest(
        command, [reply](std::error_code code, Bytes const& bytes) { (*reply)(code, bytes); });
    return response.get();
}

}  // namespace sclib::impl::ctk
