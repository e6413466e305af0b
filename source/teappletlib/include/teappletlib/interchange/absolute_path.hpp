#pragma once

#include <boost/variant.hpp>

#include "iso7816/interchange/short_file_id.hpp"
#include "teappletlib/interchange/absolute_fid.hpp"

namespace teappletlib::interchange {

// A file of a directory, named by its short identifier.
struct AbsoluteSid {
    AbsoluteFid dfPath;
    iso7816::interchange::ShortFileId sfi;
};

// A file named either by its full identifier path or by directory and short identifier.
class AbsolutePath : public boost::variant<AbsoluteFid, AbsoluteSid> {
public:
    using boost::variant<AbsoluteFid, AbsoluteSid>::variant;

    static AbsolutePath const Mf;
};

// Sent at file creation when the file gets no short identifier.
constexpr iso7816::interchange::ShortFileId NoShortFileId{0x20};

}  // namespace teappletlib::interchange
