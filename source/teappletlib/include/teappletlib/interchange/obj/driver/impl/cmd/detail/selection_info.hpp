#pragma once

#include <boost/optional.hpp>

#include "teappletlib/interchange/absolute_path.hpp"
#include "teappletlib/interchange/file_information.hpp"

namespace teappletlib::interchange::obj::driver::impl::cmd::detail {

// The file the card has selected, as far as the drivers know.
struct SelectionInfo {
    AbsolutePath path;
    boost::optional<FileInformation> info;
};

}  // namespace teappletlib::interchange::obj::driver::impl::cmd::detail
