#include "iso7816/interchange/apdu_response.hpp"

#include <utility>

namespace iso7816::interchange {

ApduResponse::ApduResponse(Code code, Data data) : code_(code), data_(std::move(data)) {}

}  // namespace iso7816::interchange
