#pragma once

#include <ostream>
#include <vector>

#include "iso7816/interchange/file_id.hpp"

namespace teappletlib::interchange {

// Path from the MF (not included) to a file. The empty path stands for the MF itself.
class AbsoluteFid : public std::vector<iso7816::interchange::FileId> {
public:
    using std::vector<iso7816::interchange::FileId>::vector;

    static AbsoluteFid const Mf;
};

AbsoluteFid operator+(AbsoluteFid path, iso7816::interchange::FileId const& fid);

// Written as [4302 5015]; the MF as [].
std::ostream& operator<<(std::ostream& os, AbsoluteFid const& path);

}  // namespace teappletlib::interchange
