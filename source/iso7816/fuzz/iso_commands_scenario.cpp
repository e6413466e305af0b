#include "iso_commands_scenario.hpp"

#include "iso7816/interchange/apdu_encoder.hpp"
#include "iso7816/interchange/cmd/impl/apdu/command_provider.hpp"
#include "testsupport/fuzz/documented_failures.hpp"

namespace iso7816::fuzz {

namespace {

using namespace interchange;
using testsupport::fuzz::tolerateDocumentedFailures;

// The card applet, so that a recording of a real card selects something.
Aid const AppletAid{{0xA0, 0x00, 0x00, 0x00, 0x63, 0x50, 0x4B, 0x43, 0x53, 0x2D, 0x31, 0x35}};
constexpr ChannelId SpecificChannel{2};
constexpr DataTag SerialNumber{0x0100};
constexpr DataTag Capabilities{0x0105};

}  // namespace

void runIsoCommands(RawTransmit& card) {
    ApduEncoder encoder(card);
    cmd::impl::apdu::CommandProvider commands(encoder);
    auto& selection = commands.getSelectionCommands();
    auto const& data = commands.getDataObjectCommands();
    tolerateDocumentedFailures([&] { (void)selection.select(AppletAid); });
    tolerateDocumentedFailures([&] {
        if (auto const channel = selection.openChannel(); channel && *channel != BasicChannel) {
            (void)selection.closeChannel(*channel);
        }
    });
    tolerateDocumentedFailures([&] { (void)selection.openChannel(SpecificChannel); });
    tolerateDocumentedFailures([&] { (void)selection.closeChannel(SpecificChannel); });
    tolerateDocumentedFailures([&] { (void)data.getData(SerialNumber, data.getDataMaxLength()); });
    tolerateDocumentedFailures([&] { (void)data.getData(Capabilities, data.getDataMaxLength()); });
}

}  // namespace iso7816::fuzz
