#include "teappletlib/interchange/cmd/impl/apdu/file_commands.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "command_cases.hpp"
#include "hex_text.hpp"
#include "testsupport/scripted_card.hpp"

namespace teappletlib::interchange::cmd {
namespace {

using iso7816::interchange::DataTag;
using iso7816::interchange::FileId;
using iso7816::interchange::ShortFileId;
using test::hexText;
using testsupport::Bytes;
using testsupport::ScriptedCard;
using testsupport::secure;
using Call = std::function<std::string(FileCommands&)>;

std::string text(bool value) {
    return value ? "true" : "false";
}

std::string text(boost::optional<FileInformation> const& info) {
    if (!info) {
        return "none";
    }
    return (info->type == FileType::Df ? "DF " : "EF ") + std::to_string(info->size);
}

std::string flagsText(FileCommands::SelectFlags flags) {
    return "flags " + std::to_string(flags);
}

Acl const RuleOf3{AclOr{AclAnd{AuthObjectId{3}}}};
Bytes const AppletAid{0xA0, 0x00, 0x00, 0x00, 0x63, 0x50, 0x4B, 0x43, 0x53, 0x2D, 0x31, 0x35};

Call const SelectWithInfo = [](FileCommands& c) {
    return text(c.selectFileWithInfo(FileId{0x5015}));
};
Call const Select = [](FileCommands& c) { return text(c.selectFile(FileId{0x5015})); };
Call const CreateEf = [](FileCommands& c) {
    c.createEf(FileId{0x5015}, ShortFileId{0x05}, 0x0100, Acl::Anybody, RuleOf3);
    return std::string("done");
};
Call const CreateDf = [](FileCommands& c) {
    c.createDf(FileId{0x4302}, 0x0010, Acl::Anybody);
    return std::string("done");
};
Call const Resize = [](FileCommands& c) { return text(c.resizeEf(0x0200)); };
Call updateBinary(unsigned short offset) {
    return [=](FileCommands& c) {
        c.updateBinary(secure({0x01, 0x02, 0x03}), offset);
        return std::string("done");
    };
}
Call const UpdateBuffer = [](FileCommands& c) {
    return text(c.updateBinaryShortFid(ShortFileId{0x7F}, secure({0xAA, 0xBB}), 0x34));
};
Call readBinary(unsigned short offset, unsigned long length) {
    return [=](FileCommands& c) { return hexText(c.readBinary(offset, length)); };
}
Call const SelectApplet = [](FileCommands& c) {
    return flagsText(c.selectTessaroApplet(iso7816::interchange::Aid(AppletAid)));
};
Call const SelectOwnApplet = [](FileCommands& c) { return flagsText(c.selectTessaroApplet()); };
Call getData(std::uint16_t tag) {
    return [=](FileCommands& c) { return hexText(c.getData(DataTag{tag})); };
}

Bytes const SelectWithInfoApdu{0x00, 0xA4, 0x00, 0x00, 0x02, 0x50, 0x15, 0x09};
Bytes const SelectApdu{0x00, 0xA4, 0x00, 0x0C, 0x02, 0x50, 0x15};
Bytes const CreateEfApdu{0x80, 0xE0, 0x50, 0x15, 0x15, 0x10, 0x01, 0x05, 0x11,
                         0x01, 0x02, 0x12, 0x02, 0x01, 0x00, 0x04, 0x02, 0x01,
                         0x00, 0x05, 0x05, 0x01, 0x03, 0x02, 0x01, 0x03};
Bytes const CreateDfApdu{0x80, 0xE0, 0x43, 0x02, 0x0E, 0x10, 0x01, 0x20, 0x11, 0x01,
                         0x01, 0x12, 0x02, 0x00, 0x10, 0x08, 0x02, 0x01, 0x00};
Bytes const ResizeApdu{0x80, 0xE2, 0x00, 0x00, 0x02, 0x02, 0x00};
Bytes const UpdateApdu{0x00, 0xD6, 0x12, 0x34, 0x03, 0x01, 0x02, 0x03};
Bytes const UpdateBufferApdu{0x00, 0xD6, 0xFF, 0x34, 0x02, 0xAA, 0xBB};
Bytes const ReadApdu{0x00, 0xB0, 0x7F, 0xFF, 0x01};
Bytes const SelectAppletApdu = Bytes{0x00, 0xA4, 0x04, 0x00, 0x0C} + AppletAid + Bytes{0x00};
Bytes const SerialNumberApdu{0x00, 0xCA, 0x01, 0x00, 0x08};
Bytes const ModelIdApdu{0x00, 0xCA, 0x01, 0x01, 0x0A};
Bytes const CapabilitiesApdu{0x00, 0xCA, 0x01, 0x05, 0x00};

// File information as the applet answers it: size in bytes 4-5, descriptor in byte 8.
Bytes fileInfoReply(unsigned char sizeHi, unsigned char sizeLo, unsigned char descriptor) {
    return {0x62, 0x07, 0x80, 0x02, sizeHi, sizeLo, 0x82, 0x01, descriptor, 0x90, 0x00};
}

Bytes withSuccess(Bytes data) {
    return data + Bytes{0x90, 0x00};
}

using ExchangeCase = test::ExchangeCase<FileCommands>;
using RefusalCase = test::RefusalCase<FileCommands>;

class FileExchange : public ::testing::TestWithParam<ExchangeCase> {};

TEST_P(FileExchange, SendsTheCommandOnceAndReadsItsAnswer) {
    EXPECT_EQ(GetParam().expected, test::exchangeOutcome<impl::apdu::FileCommands>(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(
    Commands, FileExchange,
    ::testing::Values(
        ExchangeCase{"SelectWithInfoFindsDf", SelectWithInfo, SelectWithInfoApdu,
                     fileInfoReply(0x01, 0x00, 0x38), "DF 256"},
        ExchangeCase{"SelectWithInfoFindsEf", SelectWithInfo, SelectWithInfoApdu,
                     fileInfoReply(0x00, 0x0A, 0x01), "EF 10"},
        ExchangeCase{"SelectWithInfoUnknownType", SelectWithInfo, SelectWithInfoApdu,
                     fileInfoReply(0x00, 0x0A, 0x02),
                     "ResponseError: Received unsupported file type"},
        ExchangeCase{"SelectWithInfoTooShort", SelectWithInfo, SelectWithInfoApdu,
                     withSuccess(Bytes(8, 0x01)), "ResponseError: Response length is invalid"},
        ExchangeCase{
            "SelectWithInfoNotFound", SelectWithInfo, SelectWithInfoApdu, {0x6A, 0x82}, "none"},
        ExchangeCase{"SelectWithInfoOtherWord",
                     SelectWithInfo,
                     SelectWithInfoApdu,
                     {0x6A, 0x86},
                     "PersistentStateError: Checking error: 6a86"},

        ExchangeCase{"SelectFound", Select, SelectApdu, {0x90, 0x00}, "true"},
        ExchangeCase{"SelectNotFound", Select, SelectApdu, {0x6A, 0x82}, "false"},
        ExchangeCase{"SelectNotAllowed",
                     Select,
                     SelectApdu,
                     {0x69, 0x82},
                     "SecurityCondNotSatisfied: Security condition not satisfied"},

        ExchangeCase{"CreateEf", CreateEf, CreateEfApdu, {0x90, 0x00}, "done"},
        ExchangeCase{"CreateEfShortIdTaken",
                     CreateEf,
                     CreateEfApdu,
                     {0x6A, 0x80},
                     "ShortFileIdExistsError: The specified short file id already exists"},
        ExchangeCase{"CreateEfIdTaken",
                     CreateEf,
                     CreateEfApdu,
                     {0x6A, 0x86},
                     "FileIdExistsError: The specified file id already exists"},
        ExchangeCase{"CreateEfNoMemory",
                     CreateEf,
                     CreateEfApdu,
                     {0x6A, 0x84},
                     "OutOfMemory: Insufficient memory on token"},
        ExchangeCase{"CreateDfWithoutShortId", CreateDf, CreateDfApdu, {0x90, 0x00}, "done"},
        ExchangeCase{"CreateDfIdTaken",
                     CreateDf,
                     CreateDfApdu,
                     {0x6A, 0x86},
                     "FileIdExistsError: The specified file id already exists"},
        ExchangeCase{"CreateDfWrongData",
                     CreateDf,
                     CreateDfApdu,
                     {0x6A, 0x80},
                     "WrongData: The specified data was incorrect"},

        ExchangeCase{"ResizeDone", Resize, ResizeApdu, {0x90, 0x00}, "true"},
        ExchangeCase{"ResizeRefused", Resize, ResizeApdu, {0x69, 0x82}, "false"},
        ExchangeCase{"ResizeNoCurrentFile",
                     Resize,
                     ResizeApdu,
                     {0x6A, 0x82},
                     "FileNotFound: File not found"},

        ExchangeCase{"UpdateBinary", updateBinary(0x1234), UpdateApdu, {0x90, 0x00}, "done"},
        ExchangeCase{"UpdateBinaryLargestOffset",
                     updateBinary(0x7FFF),
                     {0x00, 0xD6, 0x7F, 0xFF, 0x03, 0x01, 0x02, 0x03},
                     {0x90, 0x00},
                     "done"},
        ExchangeCase{"UpdateBinaryInvalidOffset",
                     updateBinary(0x1234),
                     UpdateApdu,
                     {0x6A, 0x86},
                     "WrongData: Invalid offset"},
        ExchangeCase{"UpdateBinaryNotAllowed",
                     updateBinary(0x1234),
                     UpdateApdu,
                     {0x69, 0x82},
                     "SecurityCondNotSatisfied: Security condition not satisfied"},

        ExchangeCase{"UpdateByShortId", UpdateBuffer, UpdateBufferApdu, {0x90, 0x00}, "true"},
        ExchangeCase{
            "UpdateByShortIdNotFound", UpdateBuffer, UpdateBufferApdu, {0x6A, 0x82}, "false"},
        ExchangeCase{"UpdateByShortIdInvalidOffset",
                     UpdateBuffer,
                     UpdateBufferApdu,
                     {0x6A, 0x86},
                     "WrongData: Invalid offset"},
        ExchangeCase{"UpdateByShortIdWrongLength",
                     UpdateBuffer,
                     UpdateBufferApdu,
                     {0x67, 0x00},
                     "WrongLength: Data length is incorrect"},

        ExchangeCase{
            "ReadBinaryLargestOffset", readBinary(0x7FFF, 1), ReadApdu, {0x5A, 0x90, 0x00}, "5a"},
        ExchangeCase{"ReadBinaryFullBlock",
                     readBinary(0x0100, 256),
                     {0x00, 0xB0, 0x01, 0x00, 0x00},
                     {0x01, 0x02, 0x90, 0x00},
                     "01 02"},
        ExchangeCase{"ReadBinaryInvalidOffset",
                     readBinary(0x7FFF, 1),
                     ReadApdu,
                     {0x6A, 0x86},
                     "WrongData: Invalid offset"},
        ExchangeCase{"ReadBinaryOtherWord",
                     readBinary(0x7FFF, 1),
                     ReadApdu,
                     {0x6B, 0x00},
                     "PersistentStateError: Checking error: 6b00"},

        ExchangeCase{
            "SelectAppletPresent", SelectApplet, SelectAppletApdu, {0x90, 0x00}, "flags 1"},
        ExchangeCase{"SelectAppletAnswerDataIgnored",
                     SelectApplet,
                     SelectAppletApdu,
                     {0x6F, 0x00, 0x90, 0x00},
                     "flags 1"},
        ExchangeCase{"SelectAppletAbsent", SelectApplet, SelectAppletApdu, {0x6A, 0x82}, "flags 0"},
        ExchangeCase{"SelectAppletOtherWord",
                     SelectApplet,
                     SelectAppletApdu,
                     {0x69, 0x85},
                     "PreconditionError: Some precondition was not met"},
        ExchangeCase{"SelectOwnAppletUsesItsAid",
                     SelectOwnApplet,
                     SelectAppletApdu,
                     {0x90, 0x00},
                     "flags 1"},

        ExchangeCase{"SerialNumber", getData(0x0100), SerialNumberApdu,
                     withSuccess({1, 2, 3, 4, 5, 6, 7, 8}), "01 02 03 04 05 06 07 08"},
        ExchangeCase{"SerialNumberTooShort", getData(0x0100), SerialNumberApdu,
                     withSuccess(Bytes(7, 0x01)),
                     "ResponseError: Response on get data command is too short"},
        ExchangeCase{"ModelId", getData(0x0101), ModelIdApdu,
                     withSuccess({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}), "00 01 02 03 04 05 06 07 08 09"},
        ExchangeCase{"ModelIdTooShort", getData(0x0101), ModelIdApdu, withSuccess(Bytes(9, 0x01)),
                     "ResponseError: Response on get data command is too short"},
        ExchangeCase{"OtherTagUnchecked",
                     getData(0x0105),
                     CapabilitiesApdu,
                     {0x03, 0x02, 0x04, 0x80, 0x90, 0x00},
                     "03 02 04 80"},
        ExchangeCase{"OtherTagEmpty", getData(0x0105), CapabilitiesApdu, {0x90, 0x00}, ""},
        ExchangeCase{"GetDataNotFound",
                     getData(0x0105),
                     CapabilitiesApdu,
                     {0x6A, 0x88},
                     "RefDataNotFound: Referenced object not found"}),
    test::CaseName());

class FileRefusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(FileRefusal, SendsNothing) {
    EXPECT_EQ(GetParam().expected, test::refusalOutcome<impl::apdu::FileCommands>(GetParam()));
}

Call updateByShortId(std::uint8_t sfi, std::size_t length) {
    return [=](FileCommands& c) {
        return text(c.updateBinaryShortFid(ShortFileId{sfi}, secure(Bytes(length, 0x11)), 0));
    };
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, FileRefusal,
    ::testing::Values(RefusalCase{"ReadBinaryOffsetWithShortIdBit", readBinary(0x8000, 1),
                                  "InputError: Read binary offset too large"},
                      RefusalCase{"ReadBinaryLargestOffsetValue", readBinary(0xFFFF, 1),
                                  "InputError: Read binary offset too large"},
                      // Bit 15 of the offset would make P1 name a file by short identifier.
                      RefusalCase{"UpdateBinaryOffsetWithShortIdBit", updateBinary(0x8000),
                                  "InputError: Update binary offset too large"},
                      RefusalCase{"UpdateBinaryLargestOffsetValue", updateBinary(0xFFFF),
                                  "InputError: Update binary offset too large"},
                      RefusalCase{"UpdateByShortIdDataTooLong", updateByShortId(0x7F, 256),
                                  "InputError: Data to write exceeds maximum length"},
                      RefusalCase{"UpdateByShortIdOutOfRange", updateByShortId(0x85, 1),
                                  "InputError: Short file id out of range"}),
    test::CaseName());

TEST(FileCommands, UpdateByShortIdSendsDataOfExactlyTheChainLimit) {
    ScriptedCard card;
    card.expect(Bytes{0x00, 0xD6, 0xFF, 0x00, 0xFF} + Bytes(255, 0x11)).answer({0x90, 0x00});
    impl::apdu::FileCommands commands(card.transmit());
    EXPECT_TRUE(commands.updateBinaryShortFid(ShortFileId{0x7F}, secure(Bytes(255, 0x11)), 0));
}

// A length past 32 bits must not wrap into a small Le.
TEST(FileCommands, ReadLengthBeyondTheApduModelIsRefusedUnsent) {
    ScriptedCard card;
    impl::apdu::FileCommands commands(card.transmit());
    EXPECT_THROW(commands.readBinary(0, 0x100000001UL), velk::secure_elt_err::WrongLength);
}

TEST(FileCommands, LengthLimitsAreTheChainsAndSendNothing) {
    ScriptedCard card;
    impl::apdu::FileCommands commands(card.transmit());
    EXPECT_EQ(256u, commands.getMaxReadBinaryLength());
    EXPECT_EQ(255u, commands.getMaxUpdateBinaryLength());
}

TEST(FileCommands, TransmissionErrorPropagatesUnchanged) {
    ScriptedCard card;
    card.expect(SelectApdu).fail(velk::CommunicationError("reader gone"));
    impl::apdu::FileCommands commands(card.transmit());
    EXPECT_THROW(commands.selectFile(FileId{0x5015}), velk::CommunicationError);
}

}  // namespace
}  // namespace teappletlib::interchange::cmd
