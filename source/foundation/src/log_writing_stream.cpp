#include "velk/log_writing_stream.hpp"

#include <thread>

#include "velk/text.hpp"

namespace velk {

LogWritingStream::StreamBuf::StreamBuf(LogLevel level, std::shared_ptr<Logger> logger,
                                       std::string const& file, std::uint32_t line)
    : level_(level), logger_(std::move(logger)), file_(file), line_(line) {}

LogWritingStream::StreamBuf::StreamBuf(StreamBuf&& other)
    : std::stringbuf(std::move(other)),
      level_(other.level_),
      logger_(std::move(other.logger_)),
      file_(std::move(other.file_)),
      line_(other.line_) {
    other.str(std::string());
}

int LogWritingStream::StreamBuf::sync() {
    std::string const text = rtrim(str(), "\r\n");
    if (text.empty()) {
        return 0;
    }
    str(std::string());
    if (!logger_) {
        return 0;
    }
    // Each line is its own entry under its own lock: other threads' entries may come between.
    for (std::string const& line : explode(text, "\n")) {
        logger_->Write({level_, std::this_thread::get_id(), file_, line_, rtrim(line, "\r")});
    }
    return 0;
}

LogWritingStream::LogWritingStream(std::shared_ptr<Logger> logger, LogLevel level,
                                   std::string const& file, unsigned line)
    : std::ostream(nullptr), buf_(level, std::move(logger), file, line) {
    rdbuf(&buf_);
}

LogWritingStream::LogWritingStream(LogWritingStream&& other)
    : std::ostream(std::move(other)), buf_(std::move(other.buf_)) {
    set_rdbuf(&buf_);
}

LogWritingStream::~LogWritingStream() {
    try {
        buf_.pubsync();
    } catch (...) {
    }
}

}  // namespace velk
