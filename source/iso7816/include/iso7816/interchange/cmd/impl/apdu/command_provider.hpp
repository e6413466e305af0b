#pragma once

#include "iso7816/interchange/apdu_transmit.hpp"
#include "iso7816/interchange/cmd/command_provider.hpp"
#include "iso7816/interchange/cmd/impl/apdu/data_object_commands.hpp"
#include "iso7816/interchange/cmd/impl/apdu/selection_commands.hpp"

namespace iso7816::interchange::cmd::impl::apdu {

// Cheap to build: both groups only hold the transmitter.
class CommandProvider : public cmd::CommandProvider {
public:
    explicit CommandProvider(ApduTransmit& transmit)
        : selectionCommands_(transmit), dataObjectCommands_(transmit) {}

    cmd::SelectionCommands& getSelectionCommands() override { return selectionCommands_; }
    cmd::SelectionCommands const& getSelectionCommands() const override {
        return selectionCommands_;
    }
    cmd::DataObjectCommands& getDataObjectCommands() override { return dataObjectCommands_; }
    cmd::DataObjectCommands const& getDataObjectCommands() const override {
        return dataObjectCommands_;
    }

private:
    SelectionCommands selectionCommands_;
    DataObjectCommands dataObjectCommands_;
};

}  // namespace iso7816::interchange::cmd::impl::apdu
