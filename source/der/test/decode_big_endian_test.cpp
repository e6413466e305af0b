#include "der/decode_big_endian.hpp"

#include <gtest/gtest.h>

#include <boost/multiprecision/cpp_int.hpp>

#include "velk/allocated_string.hpp"
#include "velk/octet.hpp"

namespace {

using Bytes = std::basic_string<unsigned char>;
using boost::multiprecision::cpp_int;

TEST(DecodeBigEndianTest, ReadsOctetsMostSignificantFirst) {
    EXPECT_EQ(velk::DecodeBigEndian<cpp_int>(Bytes{}), 0);
    EXPECT_EQ(velk::DecodeBigEndian<cpp_int>(Bytes{0x01, 0x00, 0x01}), 65537);
    EXPECT_EQ(velk::DecodeBigEndian<cpp_int>(Bytes{0x00, 0x00, 0xFF}), 255);
    EXPECT_EQ(velk::DecodeBigEndian<unsigned long>(Bytes{0x12, 0x34}), 0x1234UL);
}

TEST(DecodeBigEndianTest, ModulusWiderThanAnyMachineWord) {
    Bytes modulus(256, 0x00);
    modulus[0] = 0x80;
    modulus[255] = 0x01;
    cpp_int const expected = (cpp_int(1) << 2047) + 1;
    EXPECT_EQ(velk::DecodeBigEndian<cpp_int>(modulus), expected);
}

TEST(DecodeBigEndianTest, AcceptsZeroErasingStrings) {
    using velk::toOctet;
    velk::basic_allocated_string<velk::Octet> const octets = {toOctet(0xAB), toOctet(0xCD)};
    EXPECT_EQ(velk::DecodeBigEndian<cpp_int>(octets), 0xABCD);
    velk::basic_allocated_string<unsigned char> const bytes = {0x01, 0x00};
    EXPECT_EQ(velk::DecodeBigEndian<cpp_int>(bytes), 256);
}

}  // namespace
