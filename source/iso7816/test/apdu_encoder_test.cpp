#include "iso7816/interchange/apdu_encoder.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "testsupport/scripted_card.hpp"
#include "velk/exceptions.hpp"

namespace iso7816::interchange {
namespace {

using ::testing::StrEq;
using ::testing::ThrowsMessage;
using testsupport::Bytes;
using testsupport::plain;
using testsupport::ScriptedCard;
namespace err = velk::secure_elt_err;

constexpr char const* TooLong =
    "Invalid response length. The response size is bigger than expected.";

Apdu readBinary(std::uint32_t le) {
    return Apdu(ApduIns{0xB0}, 0x00, 0x00, le);
}

TEST(ApduEncoder, AcceptsReplyOfUpToExpectedLength) {
    ScriptedCard card;
    card.expect({0x00, 0xB0, 0x00, 0x00, 0x02}).answer({0x0A, 0x0B, 0x90, 0x00});
    card.expect({0x00, 0xB0, 0x00, 0x00, 0x02}).answer({0x0A, 0x90, 0x00});
    ApduEncoder encoder(card);
    ApduResponse const full = encoder.Transmit(readBinary(2));
    EXPECT_EQ(full.GetCode(), ApduResponse::Code{0x9000});
    EXPECT_EQ(plain(full.GetData()), (Bytes{0x0A, 0x0B}));
    EXPECT_EQ(plain(encoder.Transmit(readBinary(2)).GetData()), Bytes{0x0A});
}

TEST(ApduEncoder, RefusesReplyLongerThanExpected) {
    ScriptedCard card;
    card.expect({0x00, 0xB0, 0x00, 0x00, 0x02}).answer({0x0A, 0x0B, 0x0C, 0x90, 0x00});
    card.expect({0x00, 0xB0, 0x00, 0x00}).answer({0x01, 0x90, 0x00});
    ApduEncoder encoder(card);
    EXPECT_THAT([&] { encoder.Transmit(readBinary(2)); },
                ThrowsMessage<err::ResponseError>(StrEq(TooLong)));
    EXPECT_THAT([&] { encoder.Transmit(readBinary(0)); },
                ThrowsMessage<err::ResponseError>(StrEq(TooLong)));
}

TEST(ApduEncoder, ExpectedLength256AcceptsFullReply) {
    ScriptedCard card;
    Bytes reply(256, 0x5A);
    reply += Bytes{0x90, 0x00};
    card.expect({0x00, 0xB0, 0x00, 0x00, 0x00}).answer(reply);
    ApduEncoder encoder(card);
    EXPECT_EQ(encoder.Transmit(readBinary(256)).GetData().size(), 256u);
}

TEST(ApduEncoder, RefusesReplyWithoutStatusWord) {
    ScriptedCard card;
    card.expect({0x00, 0xB0, 0x00, 0x00, 0x01}).answer({0x90});
    ApduEncoder encoder(card);
    EXPECT_THAT([&] { encoder.Transmit(readBinary(1)); },
                ThrowsMessage<err::ResponseError>(
                    StrEq("Invalid APDU response length: must be at least 2 bytes")));
}

TEST(ApduEncoder, SendsNothingWhenTheCommandDoesNotFitAShortApdu) {
    ScriptedCard card;
    ApduEncoder encoder(card);
    EXPECT_THROW(encoder.Transmit(Apdu(ApduIns{0xD6}, 0, 0, Apdu::Data(256, 0x00), 0)),
                 err::WrongLength);
    EXPECT_THROW(encoder.Transmit(readBinary(257)), err::WrongLength);
}

TEST(ApduEncoder, BothTransmitFormsReachTheCard) {
    ScriptedCard card;
    card.expect({0x00, 0xB0, 0x00, 0x00}).answer({0x90, 0x00});
    card.expect({0x00, 0xB0, 0x00, 0x00}).answer({0x62, 0x82});
    ApduEncoder encoder(card);
    ApduTransmit& transmit = encoder;
    Apdu const apdu = readBinary(0);
    EXPECT_EQ(transmit.Transmit(apdu).GetCode(), ApduResponse::Code{0x9000});
    EXPECT_EQ(transmit.Transmit(readBinary(0)).GetCode(), ApduResponse::Code{0x6282});
}

// A layer over the encoder that sends its const form through the copying base body.
class CopyingEncoder : public ApduEncoder {
public:
    using ApduEncoder::ApduEncoder;
    using ApduEncoder::Transmit;
    ApduResponse Transmit(Apdu const& apdu) override { return ApduTransmit::Transmit(apdu); }
};

TEST(ApduEncoder, DerivedLayerForwardingItsConstFormDoesNotLoop) {
    ScriptedCard card;
    card.expect({0x00, 0xB0, 0x00, 0x00}).answer({0x90, 0x00});
    CopyingEncoder encoder(card);
    Apdu const apdu = readBinary(0);
    EXPECT_EQ(encoder.Transmit(apdu).GetCode(), ApduResponse::Code{0x9000});
}

TEST(ApduEncoder, AnnouncesShortApduLimits) {
    ScriptedCard card;
    ApduEncoder const encoder(card);
    EXPECT_EQ(encoder.GetMaxDataLength(), 255u);
    EXPECT_EQ(encoder.GetMaxResponseLength(), 256u);
}

}  // namespace
}  // namespace iso7816::interchange
