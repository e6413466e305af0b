#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "testsupport/cardsim/byte_vector.hpp"

namespace testsupport::cardsim {

// File identifiers from the master file down, the master file itself left out: {} is the MF,
// {0x4302, 0x0001} a file in directory 4302.
using FilePath = std::vector<std::uint16_t>;

constexpr std::uint16_t MasterFileId = 0x3F00;
// The short identifier of a file that has none.
constexpr std::uint8_t NoShortFileId = 0x20;

// The applet's file tree: directories (DF) and transparent files (EF).
class FileSystem {
public:
    struct Node {
        bool directory = true;
        ByteVector content;
        std::map<std::uint16_t, Node> children;
        std::uint8_t shortFileId = NoShortFileId;
    };

    // Stores an EF, creating the missing directories on its way; replaces a file that is there.
    // Throws std::invalid_argument for the MF, an identifier 3F00 or FFFF below it, content over
    // 65535 bytes, or a path through an EF.
    void putFile(FilePath const& path, ByteVector content);
    // Creates a directory and the missing ones above it, with the same checks.
    void putDirectory(FilePath const& path);
    // False when nothing was there.
    bool remove(FilePath const& path);

    // nullptr when the path names nothing.
    Node const* find(FilePath const& path) const;
    Node* find(FilePath const& path);

private:
    Node& makeParents_(FilePath const& path);

    Node root_;
};

}  // namespace testsupport::cardsim
