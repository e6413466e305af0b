#include "callback_failure.hpp"

#include <exception>

#include "velk/log_writing_stream.hpp"
#include "velk/path.hpp"

namespace cardservice::memory::detail {

void logCallbackFailure(char const* what) noexcept {
    try {
        velk::LogWritingStream log(velk::GetLogger(), velk::LogLevel::Error,
                                   velk::GetFileName(__FILE__), __LINE__);
        log << what << " threw";
        try {
            throw;
        } catch (std::exception const& e) {
            log << ": " << e.what();
        } catch (...) {
        }
        log << std::endl;
    } catch (...) {
        // Nothing is left to tell of a failure to log.
    }
}

}  // namespace cardservice::memory::detail
