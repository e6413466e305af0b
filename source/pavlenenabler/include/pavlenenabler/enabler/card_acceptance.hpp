#pragma once

#include <memory>

#include <boost/optional.hpp>

#include "iso7816/interchange/atr.hpp"
#include "pavlenenabler/enabler/authentication_object.hpp"
#include "pavlenenabler/enabler/smartcard.hpp"
#include "sclib/reader.hpp"

namespace pavlenenabler::enabler {

// The PIN object of an accepted card; none for a card of any other ATR.
boost::optional<AuthenticationObject> authenticationObjectFor(iso7816::interchange::Atr const& atr);

// Connects to the card in reader and makes its card object, without card traffic; empty for a
// card that is not accepted. Reader errors propagate.
std::shared_ptr<Smartcard> acceptCard(sclib::Reader& reader);

}  // namespace pavlenenabler::enabler
