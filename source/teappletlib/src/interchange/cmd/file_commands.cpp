#include "teappletlib/interchange/cmd/impl/apdu/file_commands.hpp"

#include <cstdint>
#include <utility>

#include "apdu_fields.hpp"
#include "iso7816/interchange/exceptions.hpp"
#include "response_checks.hpp"
#include "teappletlib/interchange/absolute_path.hpp"
#include "teappletlib/interchange/cmd/impl/apdu/encoding.hpp"
#include "teappletlib/interchange/cmd/impl/apdu/status_rules.hpp"
#include "teappletlib/interchange/cmd/impl/apdu/status_words.hpp"
#include "teappletlib/interchange/cmd/tessaro_aid.hpp"
#include "velk/exceptions.hpp"

namespace teappletlib::interchange::cmd::impl::apdu {

namespace {

using iso7816::interchange::Apdu;
using iso7816::interchange::ApduCla;
using iso7816::interchange::ApduIns;
using iso7816::interchange::ApduResponse;
using iso7816::interchange::FileId;

namespace ins_create_file {
constexpr ApduCla Cla{0x80};
constexpr ApduIns Ins{0xE0};
}  // namespace ins_create_file

namespace spec::resize_file {
constexpr ApduCla Cla{0x80};
constexpr ApduIns Ins{0xE2};
}  // namespace spec::resize_file

// SELECT, UPDATE BINARY, READ BINARY and GET DATA (ISO 7816-4), class 00.
constexpr ApduIns InsSelectFile{0xA4};
constexpr ApduIns InsUpdateBinary{0xD6};
constexpr ApduIns InsReadFile{0xB0};
namespace ins_get_data {
constexpr ApduIns Ins{0xCA};
}  // namespace ins_get_data

namespace select_p1p2 {
constexpr std::uint8_t ByFileId = 0x00;
constexpr std::uint8_t ByAid = 0x04;
constexpr std::uint8_t ReturnFci = 0x00;
constexpr std::uint8_t NoResponseData = 0x0C;
}  // namespace select_p1p2

// File information answered by a SELECT: the size in bytes 4-5, the descriptor in byte 8.
constexpr std::size_t FileInfoLength = 9;
constexpr std::uint8_t DfDescriptor = 0x38;
constexpr std::uint8_t EfDescriptor = 0x01;

// File types of creation, which differ from the descriptor bytes above.
constexpr unsigned char CreateTypeDf = 0x01;
constexpr unsigned char CreateTypeEf = 0x02;

// P1 with bit 7 set names the file by short identifier, so plain offsets keep to 15 bits and
// short identifiers to 7.
constexpr unsigned short MaxBinaryOffset = 0x7FFF;
constexpr std::uint8_t ShortFileIdFlag = 0x80;
constexpr std::uint8_t MaxShortFileId = 0x7F;

// Data objects whose answers have a fixed minimum length: the serial number and the model.
constexpr std::uint16_t SerialNumberDataTag = 0x0100;
constexpr std::uint16_t ModelIdDataTag = 0x0101;
constexpr std::size_t SerialNumberLength = 8;
constexpr std::size_t ModelIdLength = 10;

FileInformation toFileInformation(ApduResponse const& response) {
    auto const data = dataOfLength(response, FileInfoLength);
    auto const size = static_cast<std::uint16_t>((data[4] << 8) | data[5]);
    switch (data[8]) {
        case DfDescriptor:
            return FileInformation{size, FileType::Df};
        case EfDescriptor:
            return FileInformation{size, FileType::Ef};
        default:
            throw velk::secure_elt_err::ResponseError("Received unsupported file type");
    }
}

// CREATE FILE, for an EF and for a DF alike.
ApduResponse sendCreateFile(iso7816::interchange::ApduTransmit& transmit, FileId fid,
                            Bytes const& data) {
    Apdu const apdu(ins_create_file::Cla, ins_create_file::Ins, highByte(fid.GetValue()),
                    lowByte(fid.GetValue()), toApduData(data), 0);
    return transmit.Transmit(apdu);
}

void checkCreated(ApduResponse const& response) {
    switch (statusWord(response)) {
        case SwSuccess:
            return;
        case SwIncorrectParameters:
            throw iso7816::interchange::FileIdExistsError("The specified file id already exists");
        default:
            processError(response);
    }
}

[[noreturn]] void throwInvalidOffset() {
    throw velk::secure_elt_err::WrongData("Invalid offset");
}

// 6A82: no such file or applet.
bool isFound(ApduResponse const& response) {
    return succeededUnless(response, SwFileNotFound);
}

}  // namespace

boost::optional<FileInformation> FileCommands::selectFileWithInfo(FileId fid) const {
    Apdu const apdu(InsSelectFile, select_p1p2::ByFileId, select_p1p2::ReturnFci,
                    toApduData(bigEndian16(fid.GetValue())), FileInfoLength);
    auto const response = transmit_.Transmit(apdu);
    switch (statusWord(response)) {
        case SwSuccess:
            return toFileInformation(response);
        case SwFileNotFound:
            return boost::none;
        default:
            processError(response);
    }
}

bool FileCommands::selectFile(FileId fid) const {
    Apdu const apdu(InsSelectFile, select_p1p2::ByFileId, select_p1p2::NoResponseData,
                    toApduData(bigEndian16(fid.GetValue())), 0);
    return isFound(transmit_.Transmit(apdu));
}

void FileCommands::createEf(FileId fid, iso7816::interchange::ShortFileId sfi, unsigned short size,
                            Acl const& first, Acl const& second) {
    Bytes const data = encodeTlvInt<1, unsigned char>(0x10, sfi.GetValue()) +
                       encodeTlvInt<1, unsigned char>(0x11, CreateTypeEf) +
                       encodeTlvInt<2, unsigned short>(0x12, size) +
                       encodeTlv(0x04, encodeTlv(first)) + encodeTlv(0x05, encodeTlv(second));
    auto const response = sendCreateFile(transmit_, fid, data);
    // Only an EF carries a short identifier, and the applet reports a taken one as 6A80.
    if (statusWord(response) == SwWrongData) {
        throw iso7816::interchange::ShortFileIdExistsError(
            "The specified short file id already exists");
    }
    checkCreated(response);
}

void FileCommands::createDf(FileId fid, unsigned short maxFiles, Acl const& acl) {
    Bytes const data = encodeTlvInt<1, unsigned char>(0x10, NoShortFileId.GetValue()) +
                       encodeTlvInt<1, unsigned char>(0x11, CreateTypeDf) +
                       encodeTlvInt<2, unsigned short>(0x12, maxFiles) +
                       encodeTlv(0x08, encodeTlv(acl));
    checkCreated(sendCreateFile(transmit_, fid, data));
}

bool FileCommands::resizeEf(unsigned short size) {
    auto const response = transmit_.Transmit(Apdu(spec::resize_file::Cla, spec::resize_file::Ins,
                                                  0x00, 0x00, toApduData(bigEndian16(size)), 0));
    return succeededUnless(response, SwSecurityNotSatisfied);
}

void FileCommands::updateBinary(Data data, unsigned short offset) {
    if (offset > MaxBinaryOffset) {
        throw velk::InputError("Update binary offset too large");
    }
    Apdu const apdu(InsUpdateBinary, highByte(offset), lowByte(offset), std::move(data), 0);
    auto const response = transmit_.Transmit(apdu);
    switch (statusWord(response)) {
        case SwSuccess:
            return;
        case SwIncorrectParameters:
            throwInvalidOffset();
        default:
            processError(response);
    }
}

bool FileCommands::updateBinaryShortFid(iso7816::interchange::ShortFileId sfi, Data data,
                                        unsigned char offset) {
    if (sfi.GetValue() > MaxShortFileId) {
        throw velk::InputError("Short file id out of range");
    }
    if (data.size() > transmit_.GetMaxDataLength()) {
        throw velk::InputError("Data to write exceeds maximum length");
    }
    Apdu const apdu(InsUpdateBinary, static_cast<std::uint8_t>(ShortFileIdFlag | sfi.GetValue()),
                    offset, std::move(data), 0);
    auto const response = transmit_.Transmit(apdu);
    if (statusWord(response) == SwIncorrectParameters) {
        throwInvalidOffset();
    }
    return isFound(response);
}

FileCommands::Data FileCommands::readBinary(unsigned short offset, unsigned long length) const {
    if (offset > MaxBinaryOffset) {
        throw velk::InputError("Read binary offset too large");
    }
    Apdu const apdu(InsReadFile, highByte(offset), lowByte(offset), expectedLength(length));
    auto const response = transmit_.Transmit(apdu);
    switch (statusWord(response)) {
        case SwSuccess:
            return response.GetData();
        case SwIncorrectParameters:
            throwInvalidOffset();
        default:
            processError(response);
    }
}

FileCommands::SelectFlags FileCommands::selectTessaroApplet() const {
    return selectTessaroApplet(TessaroAid);
}

// SELECT by AID. Le asks for whatever the applet may answer, so that an answer with data is
// accepted as well; only the status word counts.
FileCommands::SelectFlags FileCommands::selectTessaroApplet(
    iso7816::interchange::Aid const& aid) const {
    Apdu const apdu(InsSelectFile, select_p1p2::ByAid, select_p1p2::ReturnFci,
                    toApduData(aid.getRaw()), expectedLength(transmit_.GetMaxResponseLength()));
    return isFound(transmit_.Transmit(apdu)) ? AppletSelected : 0;
}

unsigned long FileCommands::getMaxReadBinaryLength() const {
    return transmit_.GetMaxResponseLength();
}

unsigned long FileCommands::getMaxUpdateBinaryLength() const {
    return transmit_.GetMaxDataLength();
}

std::basic_string<unsigned char> FileCommands::getData(iso7816::interchange::DataTag tag) const {
    std::size_t minimumLength = 0;
    std::size_t le = transmit_.GetMaxResponseLength();
    if (tag.GetValue() == SerialNumberDataTag) {
        minimumLength = le = SerialNumberLength;
    } else if (tag.GetValue() == ModelIdDataTag) {
        minimumLength = le = ModelIdLength;
    }
    Apdu const apdu(ins_get_data::Ins, highByte(tag.GetValue()), lowByte(tag.GetValue()),
                    expectedLength(le));
    auto const response = transmit_.Transmit(apdu);
    expectSuccess(response);
    auto const data = response.GetData();
    if (data.size() < minimumLength) {
        throw velk::secure_elt_err::ResponseError("Response on get data command is too short");
    }
    return publicBytes(data);
}

}  // namespace teappletlib::interchange::cmd::impl::apdu
