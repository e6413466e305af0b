#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <thread>
#include <type_traits>
#include <vector>

#include "cardlayer/rawtransmission/logger_provider.hpp"
#include "cardlayer/transmission/channel_apdu_transmitter.hpp"
#include "cardlayer/transmission/encoder_provider.hpp"
#include "cardlayer/transmission/timer_provider.hpp"
#include "iso7816/interchange/apdu_codec.hpp"
#include "testsupport/scripted_card.hpp"
#include "velk/exceptions.hpp"

namespace cardlayer::transmission {
namespace {

using iso7816::interchange::Apdu;
using iso7816::interchange::ApduCla;
using iso7816::interchange::ApduIns;
using iso7816::interchange::ApduResponse;
using iso7816::interchange::ChannelId;
using std::chrono::milliseconds;
using testsupport::Bytes;
using testsupport::plain;
using testsupport::ScriptedCard;
using testsupport::secure;

using Timer = ApduTimer<milliseconds>;

// The timer holds its callback by reference, so a temporary one must not bind.
static_assert(
    !std::is_constructible_v<Timer, iso7816::interchange::ApduTransmit&, Timer::Callback&&>);
static_assert(!std::is_constructible_v<TimerProvider<milliseconds>, TransmissionProvider&,
                                       Timer::Callback&&>);

struct Measurement {
    Bytes sent;
    std::uint16_t sw;
    milliseconds elapsed;
};

// The stack below the channel layer, as a transaction builds it, over a scripted card.
class TransmissionStackTest : public ::testing::Test {
protected:
    Timer::Callback latency = [this](Apdu const& apdu, ApduResponse const& response,
                                     milliseconds const& elapsed) {
        measured.push_back({plain(iso7816::interchange::ApduToString(apdu)),
                            response.GetCode().GetValue(), elapsed});
    };
    std::vector<Measurement> measured;

    ScriptedCard card;
    rawtransmission::LoggerProvider logger{card};
    EncoderProvider encoder{logger};
    TimerProvider<milliseconds> timer{encoder, latency};
};

TEST_F(TransmissionStackTest, RawLoggerPassesBytesAndRepliesUnchanged) {
    card.expect({0x00, 0xB0, 0x00, 0x00, 0x02}).answer({0x01, 0x02, 0x90, 0x00});
    card.expect({0x00, 0x00, 0x00, 0x00}).answer({});
    iso7816::interchange::RawTransmit& raw = logger.getRawTransmit();
    EXPECT_EQ(plain(raw.Transmit(secure({0x00, 0xB0, 0x00, 0x00, 0x02}))),
              (Bytes{0x01, 0x02, 0x90, 0x00}));
    EXPECT_EQ(plain(raw.Transmit(secure({0x00, 0x00, 0x00, 0x00}))), Bytes{});
}

TEST_F(TransmissionStackTest, TimerReportsEachSuccessfulExchangeAsSent) {
    card.expect({0x82, 0xCA, 0x01, 0x00, 0x08}).answer({0x01, 0x90, 0x00});
    card.expect({0x82, 0x2E, 0x00, 0x00}).answer({0x6A, 0x88});
    ChannelApduTransmitter channel(timer.getApduTransmit(), ChannelId{2});

    Apdu const getData(ApduCla{0x80}, ApduIns{0xCA}, 0x01, 0x00, 8);
    channel.Transmit(getData);
    channel.Transmit(Apdu(ApduCla{0x80}, ApduIns{0x2E}, 0x00, 0x00, 0));

    ASSERT_EQ(measured.size(), 2u);
    EXPECT_EQ(measured[0].sent, (Bytes{0x82, 0xCA, 0x01, 0x00, 0x08}));
    EXPECT_EQ(measured[0].sw, 0x9000);
    EXPECT_EQ(measured[1].sent, (Bytes{0x82, 0x2E, 0x00, 0x00}));
    EXPECT_EQ(measured[1].sw, 0x6A88);
}

// A card that takes a known time to answer.
class SlowCardIo : public iso7816::interchange::RawTransmit {
public:
    SlowCardIo(RawTransmit& card, milliseconds delay) : card_(card), delay_(delay) {}

    using RawTransmit::Transmit;
    velk::basic_allocated_string<unsigned char> Transmit(unsigned char const* data,
                                                         std::size_t length) override {
        std::this_thread::sleep_for(delay_);
        return card_.Transmit(data, length);
    }

private:
    RawTransmit& card_;
    milliseconds delay_;
};

TEST_F(TransmissionStackTest, TimerMeasuresTheCardExchange) {
    constexpr milliseconds Delay{20};
    SlowCardIo slowCard(card, Delay);
    rawtransmission::LoggerProvider slowLogger(slowCard);
    EncoderProvider slowEncoder(slowLogger);
    TimerProvider<milliseconds> slowTimer(slowEncoder, latency);
    card.expect({0x00, 0xB0, 0x00, 0x00}).answer({0x90, 0x00});
    slowTimer.getApduTransmit().Transmit(Apdu(ApduIns{0xB0}, 0, 0, 0));
    ASSERT_EQ(measured.size(), 1u);
    EXPECT_GE(measured[0].elapsed, Delay);
}

TEST_F(TransmissionStackTest, FailedExchangeIsNotTimed) {
    card.expect({0x00, 0xB0, 0x00, 0x00, 0x01}).answer({0x90});
    card.expect({0x00, 0xB0, 0x00, 0x00, 0x01}).fail(velk::CommunicationError("card removed"));
    EXPECT_THAT([&] { timer.getApduTransmit().Transmit(Apdu(ApduIns{0xB0}, 0, 0, 1)); },
                ::testing::ThrowsMessage<velk::secure_elt_err::ResponseError>(
                    ::testing::StrEq("Invalid APDU response length: must be at least 2 bytes")));
    EXPECT_THAT(
        [&] { timer.getApduTransmit().Transmit(Apdu(ApduIns{0xB0}, 0, 0, 1)); },
        ::testing::ThrowsMessage<velk::CommunicationError>(::testing::StrEq("card removed")));
    EXPECT_TRUE(measured.empty());
}

TEST_F(TransmissionStackTest, EmptyLatencyFunctionThrowsAfterTheExchange) {
    Timer::Callback const none;
    TimerProvider<milliseconds> untimed(encoder, none);
    card.expect({0x00, 0xB0, 0x00, 0x00}).answer({0x90, 0x00});
    EXPECT_THROW(untimed.getApduTransmit().Transmit(Apdu(ApduIns{0xB0}, 0, 0, 0)),
                 std::bad_function_call);
    EXPECT_EQ(card.remaining(), 0u);
}

TEST_F(TransmissionStackTest, LatencyFunctionErrorReachesTheCaller) {
    Timer::Callback const failing = [](Apdu const&, ApduResponse const&, milliseconds const&) {
        throw std::runtime_error("table full");
    };
    TimerProvider<milliseconds> failingTimer(encoder, failing);
    card.expect({0x00, 0xB0, 0x00, 0x00}).answer({0x90, 0x00});
    EXPECT_THROW(failingTimer.getApduTransmit().Transmit(Apdu(ApduIns{0xB0}, 0, 0, 0)),
                 std::runtime_error);
}

TEST_F(TransmissionStackTest, EveryLayerAnnouncesShortApduLimits) {
    ChannelApduTransmitter channel(timer.getApduTransmit(), ChannelId{1});
    EXPECT_EQ(channel.GetMaxDataLength(), 255u);
    EXPECT_EQ(channel.GetMaxResponseLength(), 256u);
    EXPECT_EQ(timer.getApduTransmit().GetMaxDataLength(), 255u);
    EXPECT_EQ(timer.getApduTransmit().GetMaxResponseLength(), 256u);
}

TEST_F(TransmissionStackTest, ConstAndRvalueFormsBothReachTheCardOnEveryLayer) {
    ChannelApduTransmitter channel(timer.getApduTransmit(), ChannelId{3});
    for (iso7816::interchange::ApduTransmit* layer :
         {&encoder.getApduTransmit(), &timer.getApduTransmit(),
          static_cast<iso7816::interchange::ApduTransmit*>(&channel)}) {
        std::uint8_t const cla = layer == &channel ? 0x03 : 0x00;
        card.expect({cla, 0xB0, 0x00, 0x00}).answer({0x90, 0x00});
        card.expect({cla, 0xB0, 0x00, 0x00}).answer({0x90, 0x00});
        Apdu const apdu(ApduIns{0xB0}, 0, 0, 0);
        layer->Transmit(apdu);
        layer->Transmit(Apdu(ApduIns{0xB0}, 0, 0, 0));
    }
    EXPECT_EQ(card.remaining(), 0u);
}

TEST_F(TransmissionStackTest, ChannelTransmitterRewritesTheCallersApdu) {
    card.expect({0x82, 0x2A, 0x9E, 0x9A, 0x00}).answer({0x90, 0x00});
    ChannelApduTransmitter channel(encoder.getApduTransmit(), ChannelId{2});
    Apdu apdu(ApduCla{0x80}, ApduIns{0x2A}, 0x9E, 0x9A, 256);
    channel.Transmit(std::move(apdu));
    // The rvalue form works on the caller's object in place; it is not moved from.
    EXPECT_EQ(apdu.GetCla(), ApduCla{0x82});
}

TEST_F(TransmissionStackTest, ChannelAboveThreeSendsNothing) {
    ChannelApduTransmitter channel(encoder.getApduTransmit(), ChannelId{4});
    EXPECT_THROW(channel.Transmit(Apdu(ApduIns{0xB0}, 0, 0, 0)), velk::InputError);
}

}  // namespace
}  // namespace cardlayer::transmission
