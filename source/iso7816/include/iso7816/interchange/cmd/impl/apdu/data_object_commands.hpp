#pragma once

#include "iso7816/interchange/apdu_transmit.hpp"
#include "iso7816/interchange/cmd/data_object_commands.hpp"

namespace iso7816::interchange::cmd::impl::apdu {

class DataObjectCommands : public cmd::DataObjectCommands {
public:
    explicit DataObjectCommands(ApduTransmit& transmit) : transmit_(transmit) {}

    // A maximum length of 0 or above getDataMaxLength() cannot be sent as a one-byte Le and
    // throws velk::InputError before anything is sent.
    boost::optional<velk::basic_allocated_string<velk::Octet>> getData(
        DataTag tag, std::size_t maxLength) const override;
    std::size_t getDataMaxLength() const override;

private:
    ApduTransmit& transmit_;
};

}  // namespace iso7816::interchange::cmd::impl::apdu
