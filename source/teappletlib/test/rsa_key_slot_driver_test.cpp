#include "teappletlib/interchange/obj/driver/impl/cmd/rsa_key_slot_driver_cmd.hpp"

#include <gtest/gtest.h>

#include <vector>

#include "der/decode_big_endian.hpp"
#include "simulator_bench.hpp"
#include "testsupport/cardsim/test_credentials.hpp"
#include "thrown_message.hpp"
#include "velk/exceptions.hpp"

namespace teappletlib::interchange::obj::driver::impl::cmd {
namespace {

using boost::multiprecision::cpp_int;
using test::ByteVector;
using testsupport::cardsim::TestCredentials;

ByteVector const MseSignSlot1{0x00, 0x22, 0x41, 0xB6, 0x06, 0x84, 0x01, 0x01, 0x80, 0x01, 0x02};

class RsaKeySlotDriverTest : public ::testing::Test {
protected:
    test::DriverBench bench;
    RsaKeySlotDriverCmd slot1{bench.commands, KeyId{1}};
    RsaKeySlotDriverCmd emptySlot{bench.commands, KeyId{9}};
};

TEST_F(RsaKeySlotDriverTest, PublicKeyReadsBackAsTheSlotsKey) {
    auto const& key = TestCredentials::shared().key(1);
    EXPECT_TRUE(slot1.exists());
    EXPECT_EQ(slot1.getModulus(), velk::DecodeBigEndian<cpp_int>(key.modulus()));
    EXPECT_EQ(slot1.getPublicExponent(), velk::DecodeBigEndian<cpp_int>(key.publicExponent()));
    EXPECT_EQ(bench.sent().back(), (ByteVector{0x80, 0x3A, 0x01, 0x02, 0x00}));
}

TEST_F(RsaKeySlotDriverTest, LeadingZeroBytesDoNotChangeTheExponent) {
    bench.card.answerWith(0x3A, {0x01, 0x00, 0x01, 0x90, 0x00});
    bench.card.answerWith(0x3A, {0x00, 0x01, 0x00, 0x01, 0x90, 0x00});
    EXPECT_EQ(slot1.getPublicExponent(), cpp_int(65537));
    EXPECT_EQ(slot1.getPublicExponent(), cpp_int(65537));
}

TEST_F(RsaKeySlotDriverTest, EmptySlotIsNotAnErrorUntilItsKeyIsRead) {
    EXPECT_FALSE(emptySlot.exists());
    EXPECT_EQ(
        test::thrownMessage<velk::secure_elt_err::RefDataNotFound>([&] { emptySlot.getModulus(); }),
        "Key not found");
}

TEST_F(RsaKeySlotDriverTest, SignWithoutDataSendsNoBufferWrite) {
    bench.commands.getAccessControlCommands().verifyPin(AuthObjectId{3},
                                                        velk::basic_allocated_string<char>("1234"));
    bench.card.clearLog();
    EXPECT_FALSE(slot1.sign({}, HashAlg::NoHash).empty());
    EXPECT_EQ(bench.sent(),
              (std::vector<ByteVector>{
                  MseSignSlot1, {0x80, 0x2A, 0x9E, 0x9A, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00}}));
}

TEST_F(RsaKeySlotDriverTest, MissingBufferStopsBeforeTheSignature) {
    bench.card.failWith(0xD6, 0x6A82);
    EXPECT_EQ(test::thrownMessage<velk::secure_elt_err::FileNotFound>([&] {
                  slot1.sign(velk::basic_allocated_string<unsigned char>(32, 0x01),
                             HashAlg::NoHash);
              }),
              "Input buffer not found");
    auto const sent = bench.sent();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0], MseSignSlot1);
}

TEST_F(RsaKeySlotDriverTest, InputTooLongForTheBufferSendsNothing) {
    EXPECT_EQ(test::thrownMessage<velk::secure_elt_err::WrongLength>([&] {
                  slot1.sign(velk::basic_allocated_string<unsigned char>(511, 0x01),
                             HashAlg::NoHash);
              }),
              "Cryptographic input buffer data too long");
    EXPECT_TRUE(bench.sent().empty());
}

}  // namespace
}  // namespace teappletlib::interchange::obj::driver::impl::cmd
