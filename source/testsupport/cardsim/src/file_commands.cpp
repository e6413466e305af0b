#include <algorithm>

#include "command_handlers.hpp"
#include "der_writer.hpp"
#include "status_words.hpp"

namespace testsupport::cardsim::detail {
namespace {

// The PKCS#15 application identifier, under which the applet answers.
ByteVector const AppletAid{0xA0, 0x00, 0x00, 0x00, 0x63, 0x50, 0x4B, 0x43, 0x53, 0x2D, 0x31, 0x35};

constexpr std::uint8_t SelectByFileId = 0x00;
constexpr std::uint8_t SelectByName = 0x04;
constexpr std::uint8_t ReturnFileInformation = 0x00;
constexpr std::uint8_t ReturnNothing = 0x0C;
constexpr std::uint8_t ShortFileIdFlag = 0x80;
constexpr std::uint8_t DirectoryDescriptor = 0x38;
constexpr std::uint8_t TransparentFileDescriptor = 0x01;

constexpr std::uint16_t SerialNumberTag = 0x0100;
constexpr std::uint16_t CardInfoTag = 0x0101;
constexpr std::uint16_t CapabilitiesTag = 0x0105;
constexpr std::size_t SerialNumberLength = 8;

// Nine bytes: FID, short FID, 00, size (for a DF the number of files in it), two 00 bytes and
// the descriptor byte that tells a DF from an EF.
ByteVector fileInformation(std::uint16_t fid, FileSystem::Node const& node) {
    std::size_t const size = node.directory ? node.children.size() : node.content.size();
    return {static_cast<std::uint8_t>(fid >> 8),
            static_cast<std::uint8_t>(fid & 0xFF),
            node.shortFileId,
            0x00,
            static_cast<std::uint8_t>(size >> 8),
            static_cast<std::uint8_t>(size & 0xFF),
            0x00,
            0x00,
            node.directory ? DirectoryDescriptor : TransparentFileDescriptor};
}

Response selectApplet(CardState const& card, ChannelState& channel, CommandApdu const& command) {
    if (command.p2 != 0x00 && command.p2 != ReturnNothing) {
        return status(sw::IncorrectParameters);
    }
    if (!card.profile.appletPresent ||
        !std::equal(command.data.begin(), command.data.end(), AppletAid.begin(), AppletAid.end())) {
        return status(sw::FileNotFound);
    }
    channel.selectApplet();
    return status(sw::Ok);
}

// Finds the MF, or a file in the current directory, and makes it the current file.
Response selectFile(CardState const& card, ChannelState& channel, CommandApdu const& command) {
    if (command.p2 != ReturnFileInformation && command.p2 != ReturnNothing) {
        return status(sw::IncorrectParameters);
    }
    if (!command.data.empty() && command.data.size() != 2) {
        return status(sw::WrongLength);
    }
    if (!channel.appletSelected) {
        return status(sw::FileNotFound);
    }
    std::uint16_t const fid =
        command.data.empty() ? MasterFileId : word(command.data[0], command.data[1]);
    FilePath path;
    if (fid != MasterFileId) {
        path = channel.currentDirectory;
        path.push_back(fid);
    }
    FileSystem::Node const* node = card.profile.files.find(path);
    if (node == nullptr) {
        return status(sw::FileNotFound);
    }
    Response answer = command.p2 == ReturnNothing
                          ? status(sw::Ok)
                          : dataResponse(fileInformation(fid, *node), command.ne);
    // A refused answer (Le too short for the information) selects nothing.
    if (answer.statusWord != sw::Ok) {
        return answer;
    }
    if (node->directory) {
        channel.currentDirectory = path;
        channel.currentFile.reset();
    } else {
        channel.currentFile = fid;
    }
    return answer;
}

FileSystem::Node* currentFile(CardState& card, ChannelState const& channel) {
    if (!channel.currentFile) {
        return nullptr;
    }
    FilePath path = channel.currentDirectory;
    path.push_back(*channel.currentFile);
    return card.profile.files.find(path);
}

// A one-byte offset and at most 255 bytes: every write fits the buffer.
static_assert(0xFF + 0xFF <= CryptoInputBufferSize);

Response writeCryptoInput(ChannelState& channel, CommandApdu const& command) {
    std::copy(command.data.begin(), command.data.end(), channel.cryptoInput.begin() + command.p2);
    return status(sw::Ok);
}

}  // namespace

Response select(CardState& card, ChannelState& channel, CommandApdu const& command) {
    switch (command.p1) {
        case SelectByName:
            return selectApplet(card, channel, command);
        case SelectByFileId:
            return selectFile(card, channel, command);
        default:
            return status(sw::IncorrectParameters);
    }
}

Response readBinary(CardState& card, ChannelState& channel, CommandApdu const& command) {
    if ((command.p1 & ShortFileIdFlag) != 0) {
        return status(sw::IncorrectParameters);
    }
    if (!command.data.empty() || command.ne == 0) {
        return status(sw::WrongLength);
    }
    FileSystem::Node const* file = currentFile(card, channel);
    if (file == nullptr) {
        return status(sw::NoCurrentFile);
    }
    std::size_t const offset = word(command.p1, command.p2);
    ByteVector const& content = file->content;
    if (offset > content.size()) {
        return status(sw::IncorrectParameters);
    }
    // An answer shorter than Le tells the reader that the file ends.
    std::size_t const count = std::min(command.ne, content.size() - offset);
    return {ByteVector(content.begin() + offset, content.begin() + offset + count), sw::Ok};
}

Response updateBinary(CardState& card, ChannelState& channel, CommandApdu const& command) {
    if (command.data.empty()) {
        return status(sw::WrongLength);
    }
    if ((command.p1 & ShortFileIdFlag) != 0) {
        if ((command.p1 & ~ShortFileIdFlag) != CryptoInputBufferSfi) {
            return status(sw::FileNotFound);
        }
        return writeCryptoInput(channel, command);
    }
    FileSystem::Node* file = currentFile(card, channel);
    if (file == nullptr) {
        return status(sw::NoCurrentFile);
    }
    // Writing never grows an EF; RESIZE does.
    std::size_t const offset = word(command.p1, command.p2);
    ByteVector& content = file->content;
    if (offset >= content.size()) {
        return status(sw::IncorrectParameters);
    }
    if (command.data.size() > content.size() - offset) {
        return status(sw::WrongLength);
    }
    std::copy(command.data.begin(), command.data.end(), content.begin() + offset);
    return status(sw::Ok);
}

Response resizeFile(CardState& card, ChannelState& channel, CommandApdu const& command) {
    if (command.p1 != 0x00 || command.p2 != 0x00) {
        return status(sw::IncorrectParameters);
    }
    if (command.data.size() != 2) {
        return status(sw::WrongLength);
    }
    FileSystem::Node* file = currentFile(card, channel);
    if (file == nullptr) {
        return status(sw::NoCurrentFile);
    }
    // A grown EF is filled up with 00.
    file->content.resize(word(command.data[0], command.data[1]), 0x00);
    return status(sw::Ok);
}

Response getData(CardState& card, ChannelState&, CommandApdu const& command) {
    if (!command.data.empty()) {
        return status(sw::WrongLength);
    }
    CardProfile const& profile = card.profile;
    switch (word(command.p1, command.p2)) {
        case SerialNumberTag:
            return dataResponse(profile.serialNumber, command.ne);
        case CardInfoTag: {
            ByteVector info = profile.serialNumber;
            info.resize(SerialNumberLength, 0x00);
            info.insert(info.end(), profile.modelId.begin(), profile.modelId.end());
            return dataResponse(std::move(info), command.ne);
        }
        case CapabilitiesTag:
            return dataResponse(derBitString(profile.capabilities), command.ne);
        default:
            return status(sw::ReferencedDataNotFound);
    }
}

}  // namespace testsupport::cardsim::detail
