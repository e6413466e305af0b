// The primitive decoders on card bytes, each given the input both as an element and as content
// octets: they never throw, never write past what they are given, and what they decode encodes
// back to the same reading.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "der/der_bit_string.hpp"
#include "der/der_boolean.hpp"
#include "der/der_generalized_time.hpp"
#include "der/der_integer.hpp"
#include "der/der_oid.hpp"
#include "der/der_string.hpp"
#include "testsupport/fuzz/documented_failures.hpp"
#include "testsupport/fuzz/invariant.hpp"

namespace {

using Bytes = std::basic_string<unsigned char>;
using testsupport::fuzz::requireInvariant;

void checkInteger(CDerString const& der, Bytes const& value) {
    if (IntDecodeOK(der) && der.Len() > 0) {
        requireInvariant(IntDecode(der, 0) == IntDecode(der, 1), "a readable INTEGER has a value");
    }
    int const number = IntDecodeValue(value, 0);
    requireInvariant(IntDecodeValue(IntEncodeValue(number), 1) == number,
                     "a decoded INTEGER encodes back to itself");
    (void)UnsignedDecode(der, 0);
    (void)UnsignedDecodeValue(value, 0);
    Bytes const magnitude = UnsignedDecode(der);
    requireInvariant(magnitude.size() <= value.size(), "a magnitude lies within its value");
    (void)IntEncodeAbsoluteValue(UnsignedDecodeValue(value));
}

void checkBoolean(CDerString const& der, Bytes const& value) {
    if (BoolDecodeOK(der)) {
        requireInvariant(BoolDecode(der, false) == BoolDecode(der, true),
                         "a readable BOOLEAN has a value");
    }
    (void)BoolDecodeValue(value, false);
}

void checkBitString(CDerString const& der, Bytes const& value) {
    (void)BitStringToChar(der, 0);
    (void)BitStringToShort(der, 0);
    // Guard octets on both sides catch a write past the flags the caller asked for.
    constexpr int Flags = 40;
    constexpr unsigned char Guard = 0xEE;
    std::vector<unsigned char> flags(Flags + 2, Guard);
    BitStringDecodeValue(value, Flags, flags.data() + 1);
    requireInvariant(flags.front() == Guard && flags.back() == Guard,
                     "flags are written only where asked");
    for (int i = 1; i <= Flags; ++i) {
        requireInvariant(flags[i] <= 1, "a flag is 0 or 1");
    }
    Bytes const reencoded = BitStringEncodeValue(Flags, flags.data() + 1);
    std::vector<unsigned char> again(Flags, Guard);
    BitStringDecodeValue(reencoded, Flags, again.data());
    requireInvariant(std::equal(again.begin(), again.end(), flags.begin() + 1),
                     "decoded flags encode back to themselves");
}

void checkOid(Bytes const& value) {
    std::string text;
    if (!OidToString(value, text)) {
        return;
    }
    Bytes reencoded;
    requireInvariant(StringToOid(text.c_str(), reencoded), "a decoded OID encodes");
    std::string again;
    requireInvariant(OidToString(reencoded, again) && again == text,
                     "a decoded OID reads back the same");
}

void checkGeneralizedTime(Bytes const& value) {
    std::string const text(value.begin(), value.end());
    testsupport::fuzz::tolerateDocumentedFailures([&] {
        CDerString const der = GeneralizedTimeEncode(text);
        requireInvariant(der.IsValConsistent(), "an encoded time is one element");
        Bytes const characters = der.Val();
        requireInvariant(text.compare(0, characters.size(),
                                      std::string(characters.begin(), characters.end())) == 0,
                         "an encoded time holds the text");
    });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(std::uint8_t const* data, std::size_t size) {
    Bytes const input(data, size);
    CDerString const der(input);
    checkInteger(der, input);
    checkBoolean(der, input);
    checkBitString(der, input);
    checkOid(input);
    checkOid(der.Val());
    checkGeneralizedTime(input);
    return 0;
}
