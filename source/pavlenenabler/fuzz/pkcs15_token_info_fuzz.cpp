// A token-info file from the card: the label is read or reported absent, never a fault.
#include <cstddef>
#include <cstdint>
#include <string>

#include "pavlenenabler/enabler/pkcs15/codec/token_info.hpp"
#include "testsupport/fuzz/invariant.hpp"

extern "C" int LLVMFuzzerTestOneInput(std::uint8_t const* data, std::size_t size) {
    using pavlenenabler::enabler::pkcs15::codec::TokenInfo;
    TokenInfo const info(TokenInfo::Bytes(data, size));
    auto const label = info.getTokenLabel();
    testsupport::fuzz::requireInvariant(!label || label->size() <= size,
                                        "a label lies within the file");
    return 0;
}
