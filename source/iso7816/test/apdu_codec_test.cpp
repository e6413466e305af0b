#include "iso7816/interchange/apdu_codec.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "testsupport/bytes.hpp"
#include "velk/exceptions.hpp"

namespace iso7816::interchange {
namespace {

using ::testing::StrEq;
using ::testing::ThrowsMessage;
using testsupport::Bytes;
using testsupport::plain;
using testsupport::secure;
namespace err = velk::secure_elt_err;

Apdu::Data dataOfLength(std::size_t n) {
    return Apdu::Data(n, 0xAB);
}

TEST(ApduToString, EncodesTheFourIsoCases) {
    EXPECT_EQ(plain(ApduToString(Apdu(ApduCla{0x80}, ApduIns{0x2E}, 0x01, 0x02, 0))),
              (Bytes{0x80, 0x2E, 0x01, 0x02}));
    EXPECT_EQ(plain(ApduToString(Apdu(ApduIns{0xCA}, 0x9F, 0x7F, 256))),
              (Bytes{0x00, 0xCA, 0x9F, 0x7F, 0x00}));
    EXPECT_EQ(plain(ApduToString(Apdu(ApduIns{0xD6}, 0x00, 0x00, Apdu::Data{1, 2, 3}, 0))),
              (Bytes{0x00, 0xD6, 0x00, 0x00, 0x03, 0x01, 0x02, 0x03}));
    EXPECT_EQ(plain(ApduToString(Apdu(ApduIns{0x2A}, 0x9E, 0x9A, Apdu::Data{0x11, 0x22}, 128))),
              (Bytes{0x00, 0x2A, 0x9E, 0x9A, 0x02, 0x11, 0x22, 0x80}));
}

TEST(ApduToString, EmptyDataSendsNoLc) {
    EXPECT_EQ(plain(ApduToString(Apdu(ApduIns{0xB0}, 0x00, 0x00, Apdu::Data{}, 16))),
              (Bytes{0x00, 0xB0, 0x00, 0x00, 0x10}));
}

TEST(ApduToString, EncodesTheLargestShortLengths) {
    Bytes const encoded = plain(ApduToString(Apdu(ApduIns{0xD6}, 0, 0, dataOfLength(255), 256)));
    ASSERT_EQ(encoded.size(), 4u + 1 + 255 + 1);
    EXPECT_EQ(encoded[4], 0xFF);
    EXPECT_EQ(encoded.back(), 0x00);
}

TEST(ApduToString, RefusesLengthsThatDoNotFitOneByte) {
    EXPECT_THAT([] { ApduToString(Apdu(ApduIns{0xD6}, 0, 0, dataOfLength(256), 0)); },
                ThrowsMessage<err::WrongLength>(StrEq("Command data too long for a short APDU")));
    EXPECT_THAT(
        [] { ApduToString(Apdu(ApduIns{0xB0}, 0, 0, 257)); },
        ThrowsMessage<err::WrongLength>(StrEq("Expected length too long for a short APDU")));
}

TEST(StringToApduResponse, SplitsDataAndStatusWord) {
    ApduResponse const ok = StringToApduResponse(secure({0x90, 0x00}));
    EXPECT_EQ(ok.GetCode(), ApduResponse::Code{0x9000});
    EXPECT_TRUE(ok.GetData().empty());

    ApduResponse const withData = StringToApduResponse(secure({0x01, 0x02, 0x63, 0xC1}));
    EXPECT_EQ(withData.GetCode(), ApduResponse::Code{0x63C1});
    EXPECT_EQ(plain(withData.GetData()), (Bytes{0x01, 0x02}));
}

TEST(StringToApduResponse, RefusesReplyWithoutStatusWord) {
    for (Bytes const& reply : {Bytes{}, Bytes{0x90}}) {
        EXPECT_THAT([&] { StringToApduResponse(secure(reply)); },
                    ThrowsMessage<err::ResponseError>(
                        StrEq("Invalid APDU response length: must be at least 2 bytes")));
    }
}

TEST(StringToApdu, DecodesTheFourIsoCases) {
    Apdu const case1 = StringToApdu(secure({0x84, 0x2E, 0x01, 0x02}));
    EXPECT_EQ(case1, Apdu(ApduCla{0x84}, ApduIns{0x2E}, 0x01, 0x02, 0));
    EXPECT_EQ(case1.GetExpectedLength(), 0u);

    Apdu const case2 = StringToApdu(secure({0x00, 0xCA, 0x9F, 0x7F, 0x00}));
    EXPECT_FALSE(case2.HasData());
    EXPECT_EQ(case2.GetExpectedLength(), 256u);

    Apdu const case3 = StringToApdu(secure({0x00, 0xA4, 0x04, 0x00, 0x02, 0x3F, 0x00}));
    EXPECT_EQ(case3, Apdu(ApduIns{0xA4}, 0x04, 0x00, Apdu::Data{0x3F, 0x00}, 0));
    EXPECT_TRUE(case3.HasData());
    EXPECT_EQ(case3.GetExpectedLength(), 0u);

    Apdu const case4 = StringToApdu(secure({0x00, 0x2A, 0x9E, 0x9A, 0x01, 0x55, 0x10}));
    EXPECT_EQ(plain(case4.GetData()), Bytes{0x55});
    EXPECT_EQ(case4.GetExpectedLength(), 16u);
}

TEST(StringToApdu, ZeroLcBeforeLeGivesNoData) {
    Apdu const apdu = StringToApdu(secure({0x00, 0xB0, 0x00, 0x00, 0x00, 0x08}));
    EXPECT_FALSE(apdu.HasData());
    EXPECT_EQ(apdu.GetExpectedLength(), 8u);
}

TEST(StringToApdu, RefusesMalformedCommands) {
    EXPECT_THAT(
        [] {
            StringToApdu(secure({0x00, 0xA4, 0x04}));
        },
        ThrowsMessage<err::RequestError>(StrEq("Invalid encoded APDU: too short")));
    EXPECT_THAT(
        [] {
            StringToApdu(secure({0x00, 0xA4, 0x04, 0x00, 0x02, 0x3F}));
        },
        ThrowsMessage<err::RequestError>(StrEq("Invalid encoded APDU: invalid data length")));
    EXPECT_THAT(
        [] {
            StringToApdu(secure({0x00, 0xA4, 0x04, 0x00, 0x01, 0x3F, 0x00, 0x00}));
        },
        ThrowsMessage<err::RequestError>(StrEq("Invalid encoded APDU: invalid data length")));
}

TEST(StringToApdu, InvertsApduToString) {
    Apdu const original(ApduCla{0x81}, ApduIns{0x2A}, 0x80, 0x86, dataOfLength(255), 256);
    Apdu const decoded = StringToApdu(ApduToString(original));
    EXPECT_EQ(decoded, original);
    EXPECT_EQ(decoded.GetExpectedLength(), 256u);
}

TEST(ApduResponseToString, AppendsStatusWordToData) {
    ApduResponse const response(ApduResponse::Code{0x6A82}, Apdu::Data{0x01});
    EXPECT_EQ(plain(ApduResponseToString(response)), (Bytes{0x01, 0x6A, 0x82}));
}

}  // namespace
}  // namespace iso7816::interchange
