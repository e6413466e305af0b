#include "iso7816/interchange/file_id.hpp"

#include <iomanip>

#include "velk/stream_fmt_restore.hpp"

namespace iso7816::interchange {

std::ostream& operator<<(std::ostream& os, FileId const& fid) {
    velk::StreamFmtRestore restore(os);
    return os << std::hex << std::nouppercase << std::setw(4) << std::setfill('0')
              << fid.GetValue();
}

}  // namespace iso7816::interchange
