#pragma once

#include "iso7816/interchange/aid.hpp"
#include "iso7816/interchange/apdu.hpp"
#include "iso7816/interchange/iso7816_response.hpp"

// SELECT (ISO 7816-4).
namespace iso7816::interchange::spec::select {

constexpr ApduCla Cla{0x00};
constexpr ApduIns Ins{0xA4};

namespace aid {

class Response : public Iso7816Response {
public:
    using Iso7816Response::Iso7816Response;
};

// SELECT by application identifier: 00 A4 04 00 Lc AID, no Le.
Apdu getApdu(Aid const& aid);

}  // namespace aid

}  // namespace iso7816::interchange::spec::select
