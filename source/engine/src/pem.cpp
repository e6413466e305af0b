#include "pem.hpp"

#include <algorithm>

#include "velk/base64.hpp"

namespace engine::detail {

namespace {

constexpr std::size_t LineLength = 64;

}  // namespace

std::string certificateToPem(std::string const& der) {
    std::string const base64 =
        velk::base64Encode(std::basic_string<unsigned char>(der.begin(), der.end()));

    std::string pem = "-----BEGIN CERTIFICATE-----\n";
    for (std::size_t start = 0; start < base64.size(); start += LineLength) {
        pem.append(base64, start, std::min(LineLength, base64.size() - start));
        pem.push_back('\n');
    }
    pem.append("-----END CERTIFICATE-----\n");
    return pem;
}

}  // namespace engine::detail
