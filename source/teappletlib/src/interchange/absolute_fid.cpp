#include "teappletlib/interchange/absolute_fid.hpp"

namespace teappletlib::interchange {

AbsoluteFid operator+(AbsoluteFid path, iso7816::interchange::FileId const& fid) {
    path.push_back(fid);
    return path;
}

std::ostream& operator<<(std::ostream& os, AbsoluteFid const& path) {
    os << '[';
    char const* separator = "";
    for (auto const& fid : path) {
        os << separator << fid;
        separator = " ";
    }
    return os << ']';
}

}  // namespace teappletlib::interchange
