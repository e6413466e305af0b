#pragma once

#include <memory>
#include <mutex>

#include <boost/optional.hpp>

#include "cachelib/entry.hpp"
#include "teappletlib/interchange/obj/driver/impl/cmd/cache_key.hpp"
#include "teappletlib/interchange/obj/driver/impl/cmd/detail/selection_info.hpp"

namespace teappletlib::interchange::obj::driver::impl::cmd::detail {

// Remembers which file the card has selected, so that walks to a path send only the SELECTs that
// differ. The selection is taken from the cache when built and written back when destroyed.
class SelectedPathManager {
public:
    static CacheKey const CacheKeySelectedPath;

    explicit SelectedPathManager(KeyValueCache const& cache);
    ~SelectedPathManager();
    SelectedPathManager(SelectedPathManager const&) = delete;
    SelectedPathManager& operator=(SelectedPathManager const&) = delete;

    // Held for a whole file operation: the working selection must follow the card's.
    std::mutex& mutex() noexcept { return mutex_; }
    boost::optional<SelectionInfo>& selection() noexcept { return selection_; }

private:
    std::shared_ptr<cachelib::Entry<boost::optional<SelectionInfo>>> entry_;
    std::mutex mutex_;
    boost::optional<SelectionInfo> selection_;
};

}  // namespace teappletlib::interchange::obj::driver::impl::cmd::detail
