#include "velk/stream_fmt_restore.hpp"

namespace velk {

// The saved state shares the stream's buffer only so that it starts in a good state: copyfmt
// also copies the exception mask, which would throw at once on a stream-less (bad) ios.
StreamFmtRestore::StreamFmtRestore(std::ostream& os) : os_(os), saved_(os.rdbuf()) {
    saved_.copyfmt(os_);
}

StreamFmtRestore::~StreamFmtRestore() {
    try {
        os_.copyfmt(saved_);
    } catch (...) {
        // copyfmt re-applies the exception mask and throws when the stream has gone bad
        // meanwhile; a destructor must not throw, and the format is restored by then.
    }
}

}  // namespace velk
