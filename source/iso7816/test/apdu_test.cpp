#include "iso7816/interchange/apdu.hpp"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "iso7816/interchange/apdu_response.hpp"
#include "iso7816/interchange/file_id.hpp"
#include "iso7816/interchange/status_word.hpp"
#include "testsupport/bytes.hpp"
#include "velk/exceptions.hpp"

namespace iso7816::interchange {
namespace {

using testsupport::Bytes;
using testsupport::plain;

TEST(Apdu, ConstructorsWithoutClassUseClassZero) {
    Apdu const withData(ApduIns{0xA4}, 0x04, 0x00, Apdu::Data{0x3F, 0x00}, 0);
    Apdu const withoutData(ApduIns{0xCA}, 0x9F, 0x7F, 256);
    EXPECT_EQ(withData.GetCla(), ApduCla{0x00});
    EXPECT_EQ(withoutData.GetCla(), ApduCla{0x00});
    EXPECT_TRUE(withData.HasData());
    EXPECT_FALSE(withoutData.HasData());
    EXPECT_EQ(withoutData.GetExpectedLength(), 256u);
}

TEST(Apdu, EmptyDataStringMeansNoDataField) {
    Apdu const apdu(ApduCla{0x80}, ApduIns{0x20}, 0x00, 0x02, Apdu::Data{}, 0);
    EXPECT_FALSE(apdu.HasData());
}

TEST(Apdu, EqualityIgnoresExpectedLengthAndDataFlag) {
    Apdu const a(ApduIns{0xB0}, 0x00, 0x00, Apdu::Data{}, 10);
    Apdu const b(ApduIns{0xB0}, 0x00, 0x00, 20);
    EXPECT_EQ(a, b);
    EXPECT_NE(a, Apdu(ApduIns{0xB0}, 0x00, 0x01, 10));
    EXPECT_NE(a, Apdu(ApduCla{0x80}, ApduIns{0xB0}, 0x00, 0x00, 10));
    EXPECT_NE(Apdu(ApduIns{0xD6}, 0, 0, Apdu::Data{0x01}, 0),
              Apdu(ApduIns{0xD6}, 0, 0, Apdu::Data{0x01, 0x00}, 0));
    EXPECT_NE(Apdu(ApduIns{0xD6}, 0, 0, Apdu::Data{0x01}, 0),
              Apdu(ApduIns{0xD6}, 0, 0, Apdu::Data{0x02}, 0));
}

TEST(Apdu, SetDataReplacesDataAndKeepsFlag) {
    Apdu apdu(ApduIns{0xD6}, 0x00, 0x00, 0);
    apdu.SetData(Apdu::Data{0x01, 0x02});
    EXPECT_EQ(plain(apdu.GetData()), (Bytes{0x01, 0x02}));
    EXPECT_FALSE(apdu.HasData());
}

TEST(ApduCla, ChannelReplacesOnlyTheChannelBits) {
    ApduCla cla{0x80};
    cla.SetChannel(2);
    EXPECT_EQ(cla.GetValue(), 0x82);
    ApduCla other{0x03};
    other.SetChannel(2);
    EXPECT_EQ(other.GetValue(), 0x02);
}

TEST(ApduCla, ChannelAboveThreeIsRefusedAndLeavesClassUnchanged) {
    ApduCla cla{0x80};
    EXPECT_THROW(cla.SetChannel(4), velk::InputError);
    EXPECT_THROW(cla.SetChannel(0xFF), velk::InputError);
    EXPECT_EQ(cla.GetValue(), 0x80);
}

TEST(ApduIns, KeysAnOrderedMap) {
    std::map<ApduIns, int> latencies;
    latencies[ApduIns{0xCA}] = 1;
    latencies[ApduIns{0x20}] = 2;
    latencies[ApduIns{0xCA}] = 3;
    ASSERT_EQ(latencies.size(), 2u);
    EXPECT_EQ(latencies.begin()->first, ApduIns{0x20});
    EXPECT_EQ(latencies.rbegin()->second, 3);
}

TEST(FileId, PrintsFourLowerCaseHexDigitsAndRestoresStream) {
    using namespace literals;
    std::ostringstream out;
    out << 0x5015_fid << ' ' << FileId{0x12} << ' ' << MasterFileFid << ' ' << 255;
    EXPECT_EQ(out.str(), "5015 0012 3f00 255");
    EXPECT_EQ(0x13F00_fid, MasterFileFid);
}

TEST(StatusWord, WrongPinCarriesRetryCounter) {
    EXPECT_TRUE(IsBadVerify(0x63C2));
    EXPECT_EQ(GetBadVerifyRetryCounter(0x63C2), 2u);
    EXPECT_TRUE(IsBadVerify(0x63CF));
    EXPECT_EQ(GetBadVerifyRetryCounter(0x63CF), 15u);
    EXPECT_FALSE(IsBadVerify(0x63D0));
    EXPECT_FALSE(IsBadVerify(0x9000));
}

TEST(StatusWord, ExecutionAndCheckingErrorRanges) {
    EXPECT_FALSE(IsExecutionError(0x63FF));
    EXPECT_TRUE(IsExecutionError(0x6400));
    EXPECT_TRUE(IsExecutionError(0x66FF));
    EXPECT_FALSE(IsExecutionError(0x6700));
    EXPECT_TRUE(IsCheckingError(0x6700));
    EXPECT_TRUE(IsCheckingError(0x6FFF));
    EXPECT_FALSE(IsCheckingError(0x7000));
}

}  // namespace
}  // namespace iso7816::interchange
