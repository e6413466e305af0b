#pragma once

#include <cstdint>

#include <boost/optional.hpp>

#include "iso7816/interchange/apdu_response.hpp"

namespace iso7816::interchange::spec {

// Root of the response parsers.
class Response {
public:
    virtual ~Response() = default;
};

// 9000 is success; any other status word is an error that keeps the word. A parser that finds a
// 9000 reply malformed marks it as an error without a word.
class Iso7816Response : public Response {
public:
    static constexpr std::uint16_t Success = 0x9000;

    explicit Iso7816Response(ApduResponse const& response);

    bool IsError() const noexcept { return error_; }
    boost::optional<ApduResponse::Code> const& GetCode() const noexcept { return code_; }
    // True when the response holds exactly this status word; never for a malformed reply.
    bool HasCode(std::uint16_t sw) const noexcept { return code_ && code_->GetValue() == sw; }

protected:
    void markMalformed_() { error_ = true; }

private:
    bool error_;
    boost::optional<ApduResponse::Code> code_;
};

}  // namespace iso7816::interchange::spec
