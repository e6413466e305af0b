#pragma once

#include "iso7816/interchange/cmd/data_object_commands.hpp"
#include "iso7816/interchange/cmd/selection_commands.hpp"

namespace iso7816::interchange::cmd {

// The ISO command groups over one transmitter.
class CommandProvider {
public:
    virtual ~CommandProvider() = default;

    virtual SelectionCommands& getSelectionCommands() = 0;
    virtual SelectionCommands const& getSelectionCommands() const = 0;
    virtual DataObjectCommands& getDataObjectCommands() = 0;
    virtual DataObjectCommands const& getDataObjectCommands() const = 0;
};

}  // namespace iso7816::interchange::cmd
