#include "velk/string_conversions.hpp"
#include "velk/stream_fmt_restore.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <iomanip>
#include <sstream>
#include <string>

namespace {

using velk::basic_allocated_string;
using velk::Octet;
using velk::toOctet;
using namespace velk::literals;

using SecureBytes = basic_allocated_string<unsigned char>;
using SecureText = basic_allocated_string<char>;
using SecureOctets = basic_allocated_string<Octet>;

SecureText roomyText(char const* text, std::size_t capacity) {
    SecureText s;
    s.reserve(capacity);
    s.append(text);
    return s;
}

TEST(SecureConversions, CopyByteForByteWithCapacityEqualToLength) {
    SecureText const pin = roomyText("1a\xff", 8);

    SecureBytes const bytes = velk::ToUnsignedString(pin);
    EXPECT_EQ((SecureBytes{'1', 'a', 0xFF}), bytes);
    EXPECT_EQ(3u, bytes.capacity());

    SecureText const back = velk::FromUnsignedString(bytes);
    EXPECT_EQ(pin, back);
    EXPECT_EQ(3u, back.capacity());

    SecureOctets const octets = velk::toOctetString(bytes);
    EXPECT_EQ((SecureOctets{toOctet('1'), toOctet('a'), 0xFF_octet}), octets);
    EXPECT_EQ(3u, octets.capacity());

    SecureText const text = velk::toString(octets);
    EXPECT_EQ(pin, text);
    EXPECT_EQ(3u, text.capacity());

    EXPECT_EQ(0u, velk::ToUnsignedString(SecureText()).capacity());
}

TEST(SecureConversions, RawBufferIsCopiedThenErased) {
    std::array<unsigned char, 4> raw = {0xDE, 0xAD, 0xBE, 0xEF};
    SecureBytes const copied = velk::RawToErased<unsigned char>(raw.data(), raw.size());
    EXPECT_EQ((SecureBytes{0xDE, 0xAD, 0xBE, 0xEF}), copied);
    EXPECT_EQ(4u, copied.capacity());
    EXPECT_TRUE(std::all_of(raw.begin(), raw.end(), [](unsigned char b) { return b == 0; }));
}

TEST(PlainConversions, KeepEveryByte) {
    std::string const text("\x00\x7f\x80\xff", 4);
    std::basic_string<unsigned char> const bytes = velk::ToUnsignedString(text);
    EXPECT_EQ((std::basic_string<unsigned char>{0x00, 0x7F, 0x80, 0xFF}), bytes);
    EXPECT_EQ(text, velk::FromUnsignedString(bytes));

    std::basic_string<Octet> const octets = velk::toOctetString(bytes);
    EXPECT_EQ((std::basic_string<Octet>{0x00_octet, 0x7F_octet, 0x80_octet, 0xFF_octet}), octets);
    EXPECT_EQ(octets, velk::toOctetString(text));
    EXPECT_EQ(bytes, velk::toUnsignedString(octets));
    EXPECT_EQ(text, velk::toString(octets));
}

TEST(Literals, BuildTheExpectedStrings) {
    EXPECT_EQ(0xFF, velk::toNumber(0x1FF_octet));
    EXPECT_EQ(0x00, velk::toNumber(0x100_octet));
    EXPECT_EQ((std::basic_string<Octet>{0x41_octet, 0x00_octet, 0xFE_octet}), "A\0\xfe"_octstr);
    EXPECT_EQ((std::basic_string<unsigned char>{0x41, 0x00, 0xFE}), "A\0\xfe"_ustr);

    SecureText const erased = "pin\0x"_erased;
    EXPECT_EQ(5u, erased.size());
    EXPECT_EQ(5u, erased.capacity());
    EXPECT_EQ(std::string_view("pin\0x", 5), erased.view());
}

TEST(ByteStringPrinter, WritesLowerCaseHexBytesSeparatedBySpaces) {
    struct Case {
        std::basic_string<unsigned char> bytes;
        std::string printed;
    };
    for (Case const& c : {Case{{}, ""}, Case{{0x01, 0xAB}, "01 ab"},
                          Case{{0x00, 0x0F, 0xF0, 0xFF}, "00 0f f0 ff"}}) {
        std::ostringstream out;
        velk::operator<<(out, c.bytes);
        EXPECT_EQ(c.printed, out.str());
    }
}

TEST(ByteStringPrinter, IgnoresAndRestoresTheCallersFormat) {
    std::ostringstream out;
    out << std::uppercase << std::showbase << std::left << std::setfill('*')
        << std::setprecision(3);
    out.width(6);
    std::ios_base::fmtflags const flags = out.flags();

    velk::operator<<(out, std::basic_string<unsigned char>{0x01, 0xAB});

    EXPECT_EQ("01 ab", out.str());
    EXPECT_EQ(flags, out.flags());
    EXPECT_EQ('*', out.fill());
    EXPECT_EQ(6, out.width());
    EXPECT_EQ(3, out.precision());
    out << 42;
    EXPECT_EQ("01 ab42****", out.str());
}

// Restoring re-applies the saved exception mask, which throws on a stream that went bad.
TEST(StreamFmtRestore, RestoresWithoutThrowingOnAStreamThatWentBad) {
    std::ostringstream out;
    out.exceptions(std::ios_base::badbit);
    auto const restoreAfterFailure = [&out] {
        velk::StreamFmtRestore const restore(out);
        out.exceptions(std::ios_base::goodbit);
        out.setstate(std::ios_base::badbit);
        out << std::hex;
    };
    EXPECT_NO_THROW(restoreAfterFailure());
    EXPECT_TRUE(out.flags() & std::ios_base::dec);
    EXPECT_FALSE(out.flags() & std::ios_base::hex);
}

}  // namespace
