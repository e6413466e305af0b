#pragma once

#include <ios>
#include <ostream>

namespace velk {

// Saves a stream's format state (flags, width, precision, fill, locale) and puts it back when
// the scope ends, so printers may change the format freely.
class StreamFmtRestore {
public:
    explicit StreamFmtRestore(std::ostream& os);
    ~StreamFmtRestore();

    StreamFmtRestore(StreamFmtRestore const&) = delete;
    StreamFmtRestore& operator=(StreamFmtRestore const&) = delete;

private:
    std::ostream& os_;
    std::basic_ios<char> saved_;
};

}  // namespace velk
