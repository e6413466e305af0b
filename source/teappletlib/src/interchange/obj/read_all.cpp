#include "teappletlib/interchange/obj/read_all.hpp"

#include "velk/exceptions.hpp"

namespace teappletlib::interchange::obj {

File::Data readAll(File const& file) {
    auto const size = file.getSize();
    if (size == 0) {
        return {};
    }
    if (size - 1 > file.getMaxOffset()) {
        throw velk::secure_elt_err::WrongLength("The length exceeds the maximum offset");
    }
    return file.read(size, 0);
}

}  // namespace teappletlib::interchange::obj
