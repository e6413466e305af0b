#include "teappletlib/interchange/obj/driver/impl/cmd/crypto_input_buffer.hpp"

#include <algorithm>

#include "velk/exceptions.hpp"

namespace teappletlib::interchange::obj::driver::impl::cmd {

namespace {

constexpr std::size_t MaxChunkOffset = 0xFF;

std::size_t capacity(interchange::cmd::CommandProvider const& provider) {
    // Asked on every call: the chain below may differ from one provider to the next.
    std::size_t const chunk = provider.getFileCommands().getMaxUpdateBinaryLength();
    if (chunk == 0) {
        return 0;
    }
    return (MaxChunkOffset / chunk + 1) * chunk;
}

}  // namespace

void checkCryptoInputLength(interchange::cmd::CommandProvider const& provider, std::size_t length) {
    if (length > capacity(provider)) {
        throw velk::secure_elt_err::WrongLength("Cryptographic input buffer data too long");
    }
}

void writeCryptoInputBuffer(interchange::cmd::CommandProvider& provider,
                            velk::basic_allocated_string<unsigned char> const& data) {
    checkCryptoInputLength(provider, data.size());
    auto& files = provider.getFileCommands();
    std::size_t const chunk = files.getMaxUpdateBinaryLength();
    for (std::size_t offset = 0; offset < data.size(); offset += chunk) {
        velk::basic_allocated_string<unsigned char> part(data.data() + offset,
                                                         std::min(chunk, data.size() - offset));
        if (!files.updateBinaryShortFid(interchange::cmd::CryptoCommands::CryptoInputBufferShortFid,
                                        std::move(part), static_cast<unsigned char>(offset))) {
            throw velk::secure_elt_err::FileNotFound("Input buffer not found");
        }
    }
}

}  // namespace teappletlib::interchange::obj::driver::impl::cmd
