#include "teappletlib/interchange/obj/driver/impl/cmd/applet_manager_driver_cmd.hpp"

#include <array>

#include "data_object.hpp"
#include "der/der_bit_string.hpp"
#include "der/der_string.hpp"
#include "velk/exceptions.hpp"

namespace teappletlib::interchange::obj::driver::impl::cmd {

namespace {

constexpr iso7816::interchange::DataTag ModelIdTag{0x0101};
constexpr iso7816::interchange::DataTag CapabilitiesTag{0x0105};
constexpr unsigned long BitStringTag = 0x03;
constexpr int CapabilityCount = 28;

}  // namespace

void AppletManagerDriverCmd::initialiseApplet(
    ObjectLimits const& limits, PinLengthRange const& range, unsigned int tries,
    velk::basic_allocated_string<unsigned char> const& pin) {
    aux_.initialiseApplet(limits, range, tries, pin);
}

void AppletManagerDriverCmd::setLifecycle(Lifecycle lifecycle) {
    aux_.setLifecycle(lifecycle);
}

Capabilities AppletManagerDriverCmd::getCapabilities() const {
    CDerString const der(files_.getData(CapabilitiesTag));
    // A truncated element has no encoded length.
    if (der.RawTag() != BitStringTag || der.DerLen() == 0) {
        throw velk::secure_elt_err::ResponseError("Returned card capabilities is not a bit string");
    }
    std::array<unsigned char, CapabilityCount> flags{};
    BitStringDecodeValue(der.Val(), CapabilityCount, flags.data());
    Capabilities capabilities;
    for (int i = 0; i < CapabilityCount; ++i) {
        if (flags[static_cast<std::size_t>(i)] != 0) {
            capabilities |= Capabilities::buildWithBitSet(i);
        }
    }
    return capabilities;
}

ModelId AppletManagerDriverCmd::getModelId() const {
    return ModelId(detail::getDataBytes<2>(files_, ModelIdTag, 8));
}

}  // namespace teappletlib::interchange::obj::driver::impl::cmd
