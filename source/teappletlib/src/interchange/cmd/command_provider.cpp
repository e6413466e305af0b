#include "teappletlib/interchange/cmd/impl/apdu/command_provider.hpp"

namespace teappletlib::interchange::cmd::impl::apdu {

CommandProvider::CommandProvider(::cardlayer::transmission::TransmissionProvider& provider)
    : accessControl_(provider.getApduTransmit()),
      crypto_(provider.getApduTransmit()),
      file_(provider.getApduTransmit()),
      aux_(provider.getApduTransmit()) {}

}  // namespace teappletlib::interchange::cmd::impl::apdu
