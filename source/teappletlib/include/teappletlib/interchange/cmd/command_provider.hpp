#pragma once

#include "teappletlib/interchange/cmd/access_control_commands.hpp"
#include "teappletlib/interchange/cmd/aux_commands.hpp"
#include "teappletlib/interchange/cmd/crypto_commands.hpp"
#include "teappletlib/interchange/cmd/file_commands.hpp"

namespace teappletlib::interchange::cmd {

// The applet's four command groups over one transmission stack; a card operation receives one
// and picks the group it needs.
class CommandProvider {
public:
    virtual ~CommandProvider() = default;

    virtual AccessControlCommands& getAccessControlCommands() = 0;
    virtual CryptoCommands& getCryptoCommands() = 0;
    virtual FileCommands& getFileCommands() = 0;
    virtual AuxCommands& getAuxCommands() = 0;
    virtual AccessControlCommands const& getAccessControlCommands() const = 0;
    virtual CryptoCommands const& getCryptoCommands() const = 0;
    virtual FileCommands const& getFileCommands() const = 0;
    virtual AuxCommands const& getAuxCommands() const = 0;
};

}  // namespace teappletlib::interchange::cmd
