#pragma once

#include <cstddef>

#include <boost/optional.hpp>

#include "iso7816/interchange/data_tag.hpp"
#include "velk/allocated_string.hpp"
#include "velk/octet.hpp"

namespace iso7816::interchange::cmd {

// Data objects read by tag.
class DataObjectCommands {
public:
    virtual ~DataObjectCommands() = default;

    // At most maxLength bytes (1 to getDataMaxLength()); empty when the card has no such object.
    virtual boost::optional<velk::basic_allocated_string<velk::Octet>> getData(
        DataTag tag, std::size_t maxLength) const = 0;
    virtual std::size_t getDataMaxLength() const = 0;
};

}  // namespace iso7816::interchange::cmd
