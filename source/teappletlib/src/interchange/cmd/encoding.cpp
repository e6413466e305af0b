#include "teappletlib/interchange/cmd/impl/apdu/encoding.hpp"

namespace teappletlib::interchange::cmd::impl::apdu {

namespace {

// BER definite form: short below 128, otherwise 0x80 | k followed by k big-endian length bytes.
Bytes encodeLength(std::size_t n) {
    if (n < 0x80) {
        return Bytes(1, static_cast<unsigned char>(n));
    }
    Bytes digits;
    for (; n != 0; n >>= 8) {
        digits.insert(digits.begin(), static_cast<unsigned char>(n & 0xFF));
    }
    digits.insert(digits.begin(), static_cast<unsigned char>(0x80 | digits.size()));
    return digits;
}

}  // namespace

Bytes encodeTlv(unsigned char tag, Bytes const& value) {
    Bytes tlv(1, tag);
    tlv += encodeLength(value.size());
    tlv += value;
    return tlv;
}

Bytes encodeTlv(AclAnd const& rule) {
    Bytes ids;
    for (auto const& id : rule) {
        ids.push_back(id.GetValue());
    }
    return encodeTlv(0x02, ids);
}

Bytes encodeTlv(AclOr const& rule) {
    Bytes lists;
    for (auto const& andList : rule) {
        lists += encodeTlv(andList);
    }
    return encodeTlv(0x01, lists);
}

Bytes encodeTlv(Acl const& rule) {
    return encodeTlv(rule.getRule());
}

velk::basic_allocated_string<unsigned char> toApduData(Bytes const& data) {
    return {data.data(), data.size()};
}

}  // namespace teappletlib::interchange::cmd::impl::apdu
