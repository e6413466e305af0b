#pragma once

#include <string>

#include <boost/multiprecision/cpp_int.hpp>

#include "teappletlib/interchange/algorithms.hpp"
#include "teappletlib/interchange/key_flags.hpp"
#include "teappletlib/interchange/key_id.hpp"
#include "velk/allocated_string.hpp"

namespace teappletlib::interchange::obj::driver {

// One RSA key slot of the applet.
class RsaKeySlotDriver {
public:
    virtual ~RsaKeySlotDriver() = default;

    virtual KeyId getId() const = 0;
    // False when the slot holds no key.
    virtual bool exists() const = 0;
    // False when the security condition for deleting is not met.
    virtual bool deletePart(KeyPart part) = 0;
    // The card signs the data as given (for the engine: a DigestInfo).
    virtual std::basic_string<unsigned char> sign(
        velk::basic_allocated_string<unsigned char> const& data, HashAlg hashAlg) const = 0;
    virtual boost::multiprecision::cpp_int getModulus() const = 0;
    virtual boost::multiprecision::cpp_int getPublicExponent() const = 0;
};

}  // namespace teappletlib::interchange::obj::driver
