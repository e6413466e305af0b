#include "observer_list.hpp"

#include <atomic>
#include <exception>
#include <vector>

#include "velk/log_writing_stream.hpp"
#include "velk/path.hpp"

namespace cardservice::impl::pcsc {
namespace {

// Ids are unique in the process, so an id never removes another object's observation.
ObserverList::Id nextId() {
    static std::atomic<ObserverList::Id> last{0};
    return ++last;
}

}  // namespace

ObserverList::Id ObserverList::add(std::string const& keyPath, unsigned options, Callback callback,
                                   ObservedValue const& current) {
    Id const id = nextId();
    if (keyPath != keyPath_) {
        return id;
    }
    auto shared = std::make_shared<Callback const>(std::move(callback));
    {
        std::lock_guard<std::mutex> lock(mutex_);
        callbacks_.emplace(id, shared);
    }
    if ((options & ObserveInitial) != 0) {
        try {
            (*shared)(current);
        } catch (...) {
            // The caller never learns the id, so it could not end the observation.
            remove(id);
            throw;
        }
    }
    return id;
}

void ObserverList::remove(Id id) {
    std::lock_guard<std::mutex> lock(mutex_);
    callbacks_.erase(id);
}

void ObserverList::notify(ObservedValue const& value) {
    std::vector<Id> ids;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (auto const& entry : callbacks_) {
            ids.push_back(entry.first);
        }
    }
    for (Id const id : ids) {
        std::shared_ptr<Callback const> callback;
        {
            // Looked up again: an earlier callback may have removed this one.
            std::lock_guard<std::mutex> lock(mutex_);
            auto const found = callbacks_.find(id);
            if (found == callbacks_.end()) {
                continue;
            }
            callback = found->second;
        }
        // Another observer's fault must not cost the others their change.
        try {
            (*callback)(value);
        } catch (std::exception const& e) {
            velk::LogWritingStream(velk::GetLogger(), velk::LogLevel::Error,
                                   velk::GetFileName(__FILE__), __LINE__)
                << "Observer of " << keyPath_ << " threw: " << e.what() << std::endl;
        } catch (...) {
            velk::LogWritingStream(velk::GetLogger(), velk::LogLevel::Error,
                                   velk::GetFileName(__FILE__), __LINE__)
                << "Observer of " << keyPath_ << " threw" << std::endl;
        }
    }
}

}  // namespace cardservice::impl::pcsc
