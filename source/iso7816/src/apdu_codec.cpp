#include "iso7816/interchange/apdu_codec.hpp"

#include <cstddef>
#include <utility>

#include "velk/exceptions.hpp"

namespace iso7816::interchange {

namespace {

using Bytes = velk::basic_allocated_string<unsigned char>;

constexpr std::size_t HeaderLength = 4;

// A one-byte Le of 00 stands for 256.
std::uint32_t decodeLe(unsigned char le) {
    return le == 0 ? static_cast<std::uint32_t>(ShortApduMaxResponseLength) : le;
}

}  // namespace

Bytes ApduToString(Apdu const& apdu) {
    Bytes const& data = apdu.GetData();
    bool const hasData = apdu.HasData();
    if (hasData && data.size() > ShortApduMaxDataLength) {
        throw velk::secure_elt_err::WrongLength("Command data too long for a short APDU");
    }
    std::uint32_t const le = apdu.GetExpectedLength();
    if (le > ShortApduMaxResponseLength) {
        throw velk::secure_elt_err::WrongLength("Expected length too long for a short APDU");
    }

    Bytes bytes;
    bytes.reserve(data.size() + HeaderLength + 2);
    bytes.push_back(apdu.GetCla().GetValue());
    bytes.push_back(apdu.GetIns().GetValue());
    bytes.push_back(apdu.GetP1());
    bytes.push_back(apdu.GetP2());
    if (hasData) {
        bytes.push_back(static_cast<unsigned char>(data.size()));
        bytes.append(data.data(), data.size());
    }
    if (le != 0) {
        bytes.push_back(static_cast<unsigned char>(le & 0xFF));
    }
    return bytes;
}

ApduResponse StringToApduResponse(Bytes const& bytes) {
    std::size_t const n = bytes.size();
    if (n < 2) {
        throw velk::secure_elt_err::ResponseError(
            "Invalid APDU response length: must be at least 2 bytes");
    }
    ApduResponse::Code const code{static_cast<std::uint16_t>((bytes[n - 2] << 8) | bytes[n - 1])};
    return ApduResponse(code, Bytes(bytes.data(), n - 2));
}

Apdu StringToApdu(Bytes const& bytes) {
    std::size_t const n = bytes.size();
    if (n < HeaderLength) {
        throw velk::secure_elt_err::RequestError("Invalid encoded APDU: too short");
    }
    ApduCla const cla{bytes[0]};
    ApduIns const ins{bytes[1]};
    unsigned char const p1 = bytes[2];
    unsigned char const p2 = bytes[3];
    if (n == HeaderLength) {
        return Apdu(cla, ins, p1, p2, 0);
    }
    if (n == HeaderLength + 1) {
        return Apdu(cla, ins, p1, p2, decodeLe(bytes[4]));
    }
    // Lc, the data, and an optional Le after them.
    std::size_t const lc = bytes[4];
    std::size_t const dataEnd = HeaderLength + 1 + lc;
    if (n != dataEnd && n != dataEnd + 1) {
        throw velk::secure_elt_err::RequestError("Invalid encoded APDU: invalid data length");
    }
    std::uint32_t const le = n == dataEnd ? 0 : decodeLe(bytes[n - 1]);
    return Apdu(cla, ins, p1, p2, Bytes(bytes.data() + HeaderLength + 1, lc), le);
}

Bytes ApduResponseToString(ApduResponse const& response) {
    Bytes bytes = response.GetData();
    std::uint16_t const code = response.GetCode().GetValue();
    bytes.reserve(bytes.size() + 2);
    bytes.push_back(static_cast<unsigned char>(code >> 8));
    bytes.push_back(static_cast<unsigned char>(code & 0xFF));
    return bytes;
}

}  // namespace iso7816::interchange
