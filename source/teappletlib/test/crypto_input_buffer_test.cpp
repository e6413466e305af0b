#include "teappletlib/interchange/obj/driver/impl/cmd/crypto_input_buffer.hpp"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "simulator_bench.hpp"
#include "thrown_message.hpp"
#include "transmit_provider.hpp"
#include "velk/exceptions.hpp"

namespace teappletlib::interchange::obj::driver::impl::cmd {
namespace {

using test::ByteVector;

// The header of an UPDATE BINARY into the buffer EF (short identifier 7F): 00 D6 FF <offset> Lc.
ByteVector bufferWrite(std::uint8_t offset, std::uint8_t length) {
    return {0x00, 0xD6, 0xFF, offset, length};
}

velk::basic_allocated_string<unsigned char> input(std::size_t size) {
    return velk::basic_allocated_string<unsigned char>(size, 0xA5);
}

std::string refusal(interchange::cmd::CommandProvider& commands, std::size_t size) {
    return test::thrownMessage<velk::secure_elt_err::WrongLength>(
        [&] { writeCryptoInputBuffer(commands, input(size)); });
}

struct BufferCase {
    std::size_t size;
    std::vector<ByteVector> headers;
};

void PrintTo(BufferCase const& row, std::ostream* os) {
    *os << row.size << " bytes";
}

class CryptoInputBufferTest : public ::testing::TestWithParam<BufferCase> {};

TEST_P(CryptoInputBufferTest, WritesInChunksOfTheChainLimit) {
    test::DriverBench bench;
    writeCryptoInputBuffer(bench.commands, input(GetParam().size));
    EXPECT_EQ(test::headersOf(0xD6, bench.sent()), GetParam().headers);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, CryptoInputBufferTest,
    ::testing::Values(BufferCase{0, {}}, BufferCase{255, {bufferWrite(0x00, 0xFF)}},
                      BufferCase{256, {bufferWrite(0x00, 0xFF), bufferWrite(0xFF, 0x01)}},
                      BufferCase{510, {bufferWrite(0x00, 0xFF), bufferWrite(0xFF, 0xFF)}}));

TEST(CryptoInputBufferLimitTest, TooLongDataIsRefusedBeforeAnythingIsSent) {
    test::DriverBench bench;
    EXPECT_EQ(refusal(bench.commands, 511), "Cryptographic input buffer data too long");
    EXPECT_TRUE(bench.sent().empty());
}

// Reports a smaller data limit than the chain beneath it.
class LimitedTransmit : public iso7816::interchange::ApduTransmit {
public:
    LimitedTransmit(iso7816::interchange::ApduTransmit& inner, std::size_t maxData)
        : inner_(inner), maxData_(maxData) {}

    using ApduTransmit::Transmit;
    iso7816::interchange::ApduResponse Transmit(iso7816::interchange::Apdu&& apdu) override {
        return inner_.Transmit(std::move(apdu));
    }
    std::size_t GetMaxDataLength() const override { return maxData_; }
    std::size_t GetMaxResponseLength() const override { return inner_.GetMaxResponseLength(); }

private:
    iso7816::interchange::ApduTransmit& inner_;
    std::size_t maxData_;
};

TEST(CryptoInputBufferLimitTest, LimitFollowsTheChainOfEachCall) {
    test::DriverBench bench;
    LimitedTransmit limited(bench.encoder.getApduTransmit(), 100);
    test::TransmitProvider provider(limited);
    interchange::cmd::impl::apdu::CommandProvider narrow(provider);

    writeCryptoInputBuffer(bench.commands, input(510));
    // Every chunk offset must fit the one-byte P2: 0, 100 and 200, so 300 bytes at most.
    EXPECT_EQ(refusal(narrow, 301), "Cryptographic input buffer data too long");
    bench.card.clearLog();
    writeCryptoInputBuffer(narrow, input(300));
    EXPECT_EQ(test::headersOf(0xD6, bench.sent()),
              (std::vector<ByteVector>{bufferWrite(0x00, 0x64), bufferWrite(0x64, 0x64),
                                       bufferWrite(0xC8, 0x64)}));
    bench.card.clearLog();
    writeCryptoInputBuffer(bench.commands, input(510));
    EXPECT_EQ(bench.sent().size(), 2u);
}

TEST(CryptoInputBufferLimitTest, MissingBufferIsReported) {
    test::DriverBench bench;
    bench.card.failWith(0xD6, 0x6A82);
    EXPECT_EQ(test::thrownMessage<velk::secure_elt_err::FileNotFound>(
                  [&] { writeCryptoInputBuffer(bench.commands, input(10)); }),
              "Input buffer not found");
}

}  // namespace
}  // namespace teappletlib::interchange::obj::driver::impl::cmd
