#pragma once

#include <memory>

#include "sclib/reader.hpp"

namespace sclib::helpers {

// Receives card insertions and removals, on the thread that pumps the provider.
class ReaderCallback {
public:
    virtual ~ReaderCallback() = default;

    virtual void cardInserted(std::shared_ptr<Reader> reader) = 0;
    virtual void cardRemoved(std::shared_ptr<Reader> reader) = 0;
};

}  // namespace sclib::helpers
