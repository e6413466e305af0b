#include <mutex>

#include "velk/logger.hpp"

namespace velk {

namespace {

struct GlobalLogger {
    std::mutex mutex;
    std::shared_ptr<Logger> logger;
};

GlobalLogger& globalLogger() {
    // Never destroyed: destructors of other statics still log and reset the logger at exit.
    static GlobalLogger* const instance = new GlobalLogger;
    return *instance;
}

}  // namespace

std::shared_ptr<Logger> GetLogger() {
    GlobalLogger& global = globalLogger();
    std::lock_guard<std::mutex> lock(global.mutex);
    return global.logger;
}

void SetLogger(std::shared_ptr<Logger> logger) {
    GlobalLogger& global = globalLogger();
    {
        std::lock_guard<std::mutex> lock(global.mutex);
        global.logger.swap(logger);
    }
    // The replaced logger is released here, outside the lock, so that its destructor may log.
}

}  // namespace velk
