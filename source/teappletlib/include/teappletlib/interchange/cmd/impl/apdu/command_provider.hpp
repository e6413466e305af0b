#pragma once

#include "cardlayer/transmission/transmission_provider.hpp"
#include "teappletlib/interchange/cmd/command_provider.hpp"
#include "teappletlib/interchange/cmd/impl/apdu/access_control_commands.hpp"
#include "teappletlib/interchange/cmd/impl/apdu/aux_commands.hpp"
#include "teappletlib/interchange/cmd/impl/apdu/crypto_commands.hpp"
#include "teappletlib/interchange/cmd/impl/apdu/file_commands.hpp"

namespace teappletlib::interchange::cmd::impl::apdu {

// Cheap to build and sends nothing: every group only holds the provider's transmitter.
class CommandProvider : public cmd::CommandProvider {
public:
    explicit CommandProvider(::cardlayer::transmission::TransmissionProvider& provider);

    cmd::AccessControlCommands& getAccessControlCommands() override { return accessControl_; }
    cmd::CryptoCommands& getCryptoCommands() override { return crypto_; }
    cmd::FileCommands& getFileCommands() override { return file_; }
    cmd::AuxCommands& getAuxCommands() override { return aux_; }
    cmd::AccessControlCommands const& getAccessControlCommands() const override {
        return accessControl_;
    }
    cmd::CryptoCommands const& getCryptoCommands() const override { return crypto_; }
    cmd::FileCommands const& getFileCommands() const override { return file_; }
    cmd::AuxCommands const& getAuxCommands() const override { return aux_; }

private:
    AccessControlCommands accessControl_;
    CryptoCommands crypto_;
    FileCommands file_;
    AuxCommands aux_;
};

}  // namespace teappletlib::interchange::cmd::impl::apdu
