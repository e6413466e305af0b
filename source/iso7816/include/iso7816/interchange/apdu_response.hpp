#pragma once

#include <cstdint>

#include "iso7816/interchange/tagged_value.hpp"
#include "velk/allocated_string.hpp"

namespace iso7816::interchange {

// A response APDU: the status word and the response data without it.
class ApduResponse {
public:
    using Data = velk::basic_allocated_string<unsigned char>;

    // The status word, SW1 in the high byte.
    class Code : public TaggedValue<std::uint16_t, Code> {
    public:
        using TaggedValue::TaggedValue;
    };

    // Masks off the retry counter of a wrong-PIN status word (63Cx).
    static constexpr std::uint16_t BadVerifyMask = 0xFFF0;

    ApduResponse(Code code, Data data);

    Code GetCode() const noexcept { return code_; }
    // A copy: the caller owns (and erases) what it takes out.
    Data GetData() const { return data_; }

private:
    Code code_;
    Data data_;
};

}  // namespace iso7816::interchange
