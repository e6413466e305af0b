#include "teappletlib/interchange/card_identifiers.hpp"

#include <string>

#include "velk/string_conversions.hpp"

namespace teappletlib::interchange {

namespace {

template <std::size_t N>
std::ostream& printBytes(std::ostream& os, std::array<unsigned char, N> const& bytes) {
    return velk::operator<<(os, std::basic_string<unsigned char>(bytes.begin(), bytes.end()));
}

}  // namespace

std::ostream& operator<<(std::ostream& os, ModelId const& id) {
    return printBytes(os, id.get());
}

std::ostream& operator<<(std::ostream& os, SerialNumber const& number) {
    return printBytes(os, number.get());
}

}  // namespace teappletlib::interchange
