#pragma once

#include <memory>
#include <set>

#include "velk/logger.hpp"

namespace velk {

// Hands every entry to each member logger in turn; each member filters for itself.
// Lock order: this logger's mutex, then the member's.
class LoggerMultiple : public Logger {
public:
    LoggerMultiple();
    ~LoggerMultiple() override;

    // Takes no lock: for setting the logger up before it is shared. A null logger or a member
    // already present is ignored.
    void Add(std::shared_ptr<Logger> logger);

protected:
    // A member that throws stops the entry: the members after it do not get it.
    void WriteNoLock(Entry const& entry) override;

private:
    std::set<std::shared_ptr<Logger>> members_;
};

}  // namespace velk
