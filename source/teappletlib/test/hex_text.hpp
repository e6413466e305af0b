#pragma once

#include <sstream>
#include <string>

#include "testsupport/bytes.hpp"
#include "velk/string_conversions.hpp"

namespace teappletlib::test {

// Response bytes as a table row can hold them: lower-case hex, one space between bytes.
inline std::string hexText(testsupport::Bytes const& bytes) {
    using velk::operator<<;
    std::ostringstream os;
    os << bytes;
    return os.str();
}

inline std::string hexText(velk::basic_allocated_string<unsigned char> const& bytes) {
    return hexText(testsupport::plain(bytes));
}

}  // namespace teappletlib::test
