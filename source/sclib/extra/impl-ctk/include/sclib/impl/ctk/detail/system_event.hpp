#pragma once

#include <cstdint>
#include <memory>

#include "sclib/reader.hpp"

namespace sclib::impl::ctk::detail {

struct SystemEvent {
    enum Type : std::uint32_t { ReaderAdded = 0, ReaderRemoved = 1 };

    std::shared_ptr<sclib::Reader> reader;
    Type type;
};

}  // namespace sclib::impl::ctk::detail
