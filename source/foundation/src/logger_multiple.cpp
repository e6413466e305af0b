#include "velk/logger_multiple.hpp"

namespace velk {

LoggerMultiple::LoggerMultiple() : Logger(nullptr) {}

LoggerMultiple::~LoggerMultiple() = default;

void LoggerMultiple::Add(std::shared_ptr<Logger> logger) {
    if (logger) {
        members_.insert(std::move(logger));
    }
}

void LoggerMultiple::WriteNoLock(Entry const& entry) {
    for (auto const& member : members_) {
        member->Write(entry);
    }
}

}  // namespace velk
