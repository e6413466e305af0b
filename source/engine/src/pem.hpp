#pragma once

#include <string>

namespace engine::detail {

// A DER certificate as PEM text: base64 in lines of 64 characters, each ending in a newline,
// between the BEGIN and END CERTIFICATE lines.
std::string certificateToPem(std::string const& der);

}  // namespace engine::detail
