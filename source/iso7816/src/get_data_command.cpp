#include "iso7816/interchange/get_data_command.hpp"

#include "velk/string_conversions.hpp"

namespace iso7816::interchange::spec::get_data {

Response::Response(ApduResponse const& response)
    : Iso7816Response(response), data_(velk::toOctetString(response.GetData())) {}

}  // namespace iso7816::interchange::spec::get_data
