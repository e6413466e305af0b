#include "der/der_generalized_time.hpp"

#include <ctime>

namespace {
constexpr unsigned long GeneralizedTimeTag = 0x18;
}

std::string GeneralizedTimeEncodeValueZero() {
    return "000000000000Z";
}

std::string GeneralizedTimeEncodeValueNow() {
    std::time_t const now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char text[32];
    std::size_t const length = std::strftime(text, sizeof(text), "%Y%m%d%H%M%SZ", &utc);
    return std::string(text, length);
}

CDerString GeneralizedTimeEncode(std::string const& text) {
    std::string const characters = text.substr(0, text.find('\0'));
    return CDerString(GeneralizedTimeTag,
                      std::basic_string<unsigned char>(characters.begin(), characters.end()));
}
