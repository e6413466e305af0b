#include "iso7816/interchange/iso7816_response.hpp"

namespace iso7816::interchange::spec {

Iso7816Response::Iso7816Response(ApduResponse const& response)
    : error_(response.GetCode().GetValue() != Success) {
    if (error_) {
        code_ = response.GetCode();
    }
}

}  // namespace iso7816::interchange::spec
