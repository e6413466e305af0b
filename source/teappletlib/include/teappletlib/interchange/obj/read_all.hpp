#pragma once

#include "teappletlib/interchange/obj/file.hpp"

namespace teappletlib::interchange::obj {

// The whole file; an empty file costs no READ BINARY. Throws velk::secure_elt_err::WrongLength
// when the file reaches past the largest offset a read may start at.
File::Data readAll(File const& file);

}  // namespace teappletlib::interchange::obj
