#pragma once

#include <cstdint>
#include <ostream>

#include "iso7816/interchange/tagged_value.hpp"

namespace iso7816::interchange {

// A file identifier.
class FileId : public TaggedValue<std::uint16_t, FileId> {
public:
    using TaggedValue::TaggedValue;
};

constexpr FileId MasterFileFid{0x3F00};

// Four lower-case hex digits, no prefix; the stream's format is left as it was.
std::ostream& operator<<(std::ostream& os, FileId const& fid);

namespace literals {

constexpr FileId operator"" _fid(unsigned long long value) {
    return FileId{static_cast<std::uint16_t>(value & 0xFFFF)};
}

}  // namespace literals

}  // namespace iso7816::interchange
