#pragma once

#include <cstdint>

namespace sclib::impl::ctk::detail {

enum class ReaderEvent : std::uint32_t {
    Unavailable = 0,
    RemoveSmartcard = 1,
    InsertSmartcard = 2,
    MuteSmartcard = 3,
    ResetSmartcard = 4,
};

}  // namespace sclib::impl::ctk::detail
