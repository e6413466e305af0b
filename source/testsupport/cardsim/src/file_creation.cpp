#include <algorithm>
#include <initializer_list>
#include <map>
#include <optional>

#include "command_handlers.hpp"
#include "der/der_iterator.hpp"
#include "status_words.hpp"

namespace testsupport::cardsim::detail {
namespace {

constexpr unsigned long ShortFileIdTag = 0x10;
constexpr unsigned long FileTypeTag = 0x11;
constexpr unsigned long SizeTag = 0x12;
constexpr unsigned long FirstRuleTag = 0x04;
constexpr unsigned long SecondRuleTag = 0x05;
constexpr unsigned long DirectoryRuleTag = 0x08;

// File types of creation; SELECT reports others (38 and 01).
constexpr std::uint8_t DirectoryType = 0x01;
constexpr std::uint8_t TransparentFileType = 0x02;

constexpr std::uint16_t InvalidFileId = 0xFFFF;

using Bytes = CDerString::Bytes;
using Tlvs = std::map<unsigned long, Bytes>;

struct NewFile {
    bool directory;
    std::uint8_t shortFileId;
    // An EF's size; a DF's largest number of files, which this card does not enforce.
    std::uint16_t size;
};

// The values by tag; empty unless the data is a run of whole elements with distinct tags.
std::optional<Tlvs> readTlvs(velk::basic_allocated_string<unsigned char> const& data) {
    Bytes const bytes(data.begin(), data.end());
    CDerIterator const elements(bytes);
    Tlvs tlvs;
    for (unsigned long pos = 0; pos < bytes.size();) {
        unsigned long const start = pos;
        CDerString const element = elements.GetNextDer(pos);
        if (pos == start || !tlvs.emplace(element.RawTag(), element.Val()).second) {
            return std::nullopt;
        }
    }
    return tlvs;
}

bool hasExactly(Tlvs const& tlvs, std::initializer_list<unsigned long> tags) {
    return tlvs.size() == tags.size() &&
           std::all_of(tags.begin(), tags.end(),
                       [&](unsigned long tag) { return tlvs.count(tag); });
}

// The file that the TLVs describe: short identifier, type and size, then the access rules of
// the type (two for an EF, one for a DF), which this card keeps no record of.
std::optional<NewFile> describe(Tlvs const& tlvs) {
    auto const value = [&](unsigned long tag, std::size_t length) -> Bytes const* {
        auto const it = tlvs.find(tag);
        return it != tlvs.end() && it->second.size() == length ? &it->second : nullptr;
    };
    Bytes const* sfi = value(ShortFileIdTag, 1);
    Bytes const* type = value(FileTypeTag, 1);
    Bytes const* size = value(SizeTag, 2);
    if (sfi == nullptr || type == nullptr || size == nullptr) {
        return std::nullopt;
    }
    bool const directory = (*type)[0] == DirectoryType;
    bool const complete =
        directory ? hasExactly(tlvs, {ShortFileIdTag, FileTypeTag, SizeTag, DirectoryRuleTag})
                  : (*type)[0] == TransparentFileType &&
                        hasExactly(tlvs, {ShortFileIdTag, FileTypeTag, SizeTag, FirstRuleTag,
                                          SecondRuleTag});
    if (!complete) {
        return std::nullopt;
    }
    return NewFile{directory, (*sfi)[0], word((*size)[0], (*size)[1])};
}

bool shortFileIdTaken(FileSystem::Node const& directory, std::uint8_t sfi) {
    if (sfi == NoShortFileId) {
        return false;
    }
    return sfi == CryptoInputBufferSfi ||
           std::any_of(directory.children.begin(), directory.children.end(),
                       [&](auto const& child) { return child.second.shortFileId == sfi; });
}

}  // namespace

Response createFile(CardState& card, ChannelState& channel, CommandApdu const& command) {
    std::optional<Tlvs> const tlvs = readTlvs(command.data);
    std::optional<NewFile> const file = tlvs ? describe(*tlvs) : std::nullopt;
    if (!file) {
        return status(sw::WrongLength);
    }
    FileSystem::Node* directory = card.profile.files.find(channel.currentDirectory);
    if (directory == nullptr) {
        return status(sw::FileNotFound);
    }
    std::uint16_t const fid = word(command.p1, command.p2);
    if (fid == MasterFileId || fid == InvalidFileId || directory->children.count(fid) != 0) {
        return status(sw::IncorrectParameters);
    }
    if (shortFileIdTaken(*directory, file->shortFileId)) {
        return status(sw::WrongData);
    }
    FileSystem::Node node;
    node.directory = file->directory;
    node.shortFileId = file->shortFileId;
    if (!file->directory) {
        node.content.assign(file->size, 0x00);
    }
    // The selection stays where it was: the new file is selected by SELECT only.
    directory->children.emplace(fid, std::move(node));
    return status(sw::Ok);
}

}  // namespace testsupport::cardsim::detail
