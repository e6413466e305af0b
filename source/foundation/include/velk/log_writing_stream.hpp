#pragma once

#include <cstdint>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>

#include "velk/log_level.hpp"
#include "velk/logger.hpp"

namespace velk {

// The stream of one log statement, used as
//   LogWritingStream(GetLogger(), LogLevel::Error, GetFileName(__FILE__), __LINE__)
//       << "text" << std::endl;
// Every flush turns the buffered text into one entry per line. Logging never throws into the
// caller: a sink's exception leaves the stream bad, and the destructor swallows it.
class LogWritingStream : public std::ostream {
public:
    // A null logger discards the text.
    LogWritingStream(std::shared_ptr<Logger> logger, LogLevel level, std::string const& file,
                     unsigned line);
    // The buffered text and the statement's logger, level, file and line move over; other is
    // left with an empty buffer and no logger.
    LogWritingStream(LogWritingStream&& other);
    LogWritingStream& operator=(LogWritingStream&&) = delete;
    // Writes whatever text is still buffered.
    ~LogWritingStream() override;

private:
    class StreamBuf : public std::stringbuf {
    public:
        StreamBuf(LogLevel level, std::shared_ptr<Logger> logger, std::string const& file,
                  std::uint32_t line);
        StreamBuf(StreamBuf&& other);

    protected:
        int sync() override;

    private:
        LogLevel level_;
        std::shared_ptr<Logger> logger_;
        std::string file_;
        std::uint32_t line_;
    };

    StreamBuf buf_;
};

}  // namespace velk
