#pragma once

#include <algorithm>
#include <array>
#include <cstddef>

#include "iso7816/interchange/data_tag.hpp"
#include "teappletlib/interchange/cmd/file_commands.hpp"
#include "velk/exceptions.hpp"

namespace teappletlib::interchange::obj::driver::impl::cmd::detail {

// N bytes from position first of a data object. The command checks the length of the objects
// it knows; this check keeps any other implementation of it from being read past its end.
template <std::size_t N>
std::array<unsigned char, N> getDataBytes(interchange::cmd::FileCommands const& files,
                                          iso7816::interchange::DataTag tag, std::size_t first) {
    auto const data = files.getData(tag);
    if (data.size() < first + N) {
        throw velk::secure_elt_err::ResponseError("Response on get data command is too short");
    }
    std::array<unsigned char, N> bytes{};
    std::copy_n(data.begin() + static_cast<std::ptrdiff_t>(first), N, bytes.begin());
    return bytes;
}

}  // namespace teappletlib::interchange::obj::driver::impl::cmd::detail
