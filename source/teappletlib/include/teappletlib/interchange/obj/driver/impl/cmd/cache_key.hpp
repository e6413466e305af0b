#pragma once

#include <string>
#include <utility>

#include "cachelib/persistent_memory_key_value_cache.hpp"

namespace teappletlib::interchange::obj::driver::impl::cmd {

// Names a value that the drivers keep in the per-operation key-value cache.
class CacheKey {
public:
    explicit CacheKey(std::string text) : text_(std::move(text)) {}

    std::string const& getText() const noexcept { return text_; }

private:
    std::string text_;
};

namespace detail {

struct CacheKeyToString {
    std::string operator()(CacheKey const& key) const { return key.getText(); }
};

}  // namespace detail

using KeyValueCache =
    cachelib::PersistentMemoryKeyValueCache<void, std::string, detail::CacheKeyToString>;

}  // namespace teappletlib::interchange::obj::driver::impl::cmd
