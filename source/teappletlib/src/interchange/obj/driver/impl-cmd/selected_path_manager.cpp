#include "teappletlib/interchange/obj/driver/impl/cmd/detail/selected_path_manager.hpp"

namespace teappletlib::interchange::obj::driver::impl::cmd::detail {

CacheKey const SelectedPathManager::CacheKeySelectedPath{"aa43b3aa-91a5-11e9-bc42-526af7764f64"};

SelectedPathManager::SelectedPathManager(KeyValueCache const& cache)
    : entry_(cache.get<boost::optional<SelectionInfo>>(CacheKeySelectedPath)),
      selection_(*entry_->fetch([] { return boost::optional<SelectionInfo>(); })) {}

SelectedPathManager::~SelectedPathManager() {
    try {
        entry_->update(selection_);
    } catch (...) {
        // A stale selection would send later walks to the wrong file; an empty one only costs
        // a walk from the MF.
        try {
            entry_->lock().invalidate();
        } catch (...) {
        }
    }
}

}  // namespace teappletlib::interchange::obj::driver::impl::cmd::detail
