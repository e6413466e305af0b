#include "teappletlib/cardlayer/tessaro_selector_provider.hpp"

#include <boost/optional.hpp>

#include "teappletlib/interchange/cmd/impl/apdu/command_provider.hpp"
#include "velk/exceptions.hpp"

namespace teappletlib::cardlayer {

namespace {

using iso7816::interchange::Aid;

// Through a command provider over the same provider, so the SELECT goes out on the channel of
// every later command.
void SelectApplet(::cardlayer::transmission::TransmissionProvider& provider, Aid const& aid) {
    interchange::cmd::impl::apdu::CommandProvider commands(provider);
    auto const flags = commands.getFileCommands().selectTessaroApplet(aid);
    if ((flags & interchange::cmd::FileCommands::AppletSelected) == 0) {
        throw velk::secure_elt_err::FileNotFound("No Tessaro applet available");
    }
}

}  // namespace

TessaroSelectorProvider::TessaroSelectorProvider(
    ::cardlayer::transmission::TransmissionProvider& provider, Storage& storage, Aid const& aid)
    : transmit_(provider.getApduTransmit()) {
    boost::optional<Aid> remembered;
    {
        // With nothing remembered the SELECT runs under the lock, so concurrent first uses of
        // one card select once.
        auto locked = storage.entry().lock();
        if (auto const value = locked.getValue()) {
            remembered = *value;
        } else {
            SelectApplet(provider, aid);
            locked.setValue(Aid(aid));
            remembered = aid;
        }
    }
    if (*remembered != aid) {
        SelectApplet(provider, aid);
        storage.entry().update(aid);
    }
}

}  // namespace teappletlib::cardlayer
