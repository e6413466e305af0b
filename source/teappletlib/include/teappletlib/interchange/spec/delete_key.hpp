#pragma once

#include "iso7816/interchange/apdu_cla.hpp"
#include "iso7816/interchange/apdu_ins.hpp"
#include "iso7816/interchange/iso7816_response.hpp"

// DELETE KEY (applet command).
namespace teappletlib::interchange::spec::delete_key {

constexpr iso7816::interchange::ApduCla Cla{0x80};
constexpr iso7816::interchange::ApduIns Ins{0x39};

// The answer carries nothing beyond its status word.
class Response : public iso7816::interchange::spec::Iso7816Response {
public:
    using Iso7816Response::Iso7816Response;
};

}  // namespace teappletlib::interchange::spec::delete_key
