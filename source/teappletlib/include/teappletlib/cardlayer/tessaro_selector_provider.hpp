#pragma once

#include <memory>

#include "cachelib/entry.hpp"
#include "cardlayer/transmission/transmission_provider.hpp"
#include "iso7816/interchange/aid.hpp"
#include "iso7816/interchange/apdu_transmit.hpp"

namespace teappletlib::cardlayer {

// Makes sure the applet is selected on the channel of the provider it decorates before any
// applet command goes out, and sends the SELECT only when the selection is not known to hold.
// It adds no layer: its transmitter is the decorated provider's.
class TessaroSelectorProvider : public ::cardlayer::transmission::TransmissionProvider {
public:
    // The AID selected on one card. Whoever owns it empties the slot when the selection may have
    // been lost (a reset, work on the shared basic channel).
    class Storage {
    public:
        // Takes one slot of the cache, which the owner keeps alive.
        template <class Cache>
        explicit Storage(Cache& cache)
            : entry_(cache.template createEntry<iso7816::interchange::Aid>()) {}

        cachelib::Entry<iso7816::interchange::Aid>& entry() { return *entry_; }

    private:
        std::unique_ptr<cachelib::Entry<iso7816::interchange::Aid>> entry_;
    };

    // Throws velk::secure_elt_err::FileNotFound "No Tessaro applet available" when the card does
    // not have the applet; the slot is then left as it was.
    TessaroSelectorProvider(::cardlayer::transmission::TransmissionProvider& provider,
                            Storage& storage, iso7816::interchange::Aid const& aid);

    iso7816::interchange::ApduTransmit& getApduTransmit() override { return transmit_; }

private:
    iso7816::interchange::ApduTransmit& transmit_;
};

}  // namespace teappletlib::cardlayer
