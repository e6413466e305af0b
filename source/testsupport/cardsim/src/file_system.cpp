#include "testsupport/cardsim/file_system.hpp"

#include <stdexcept>

namespace testsupport::cardsim {
namespace {

constexpr std::uint16_t InvalidFileId = 0xFFFF;
constexpr std::size_t MaxFileSize = 0xFFFF;

// The node at the end of [first, last) below root, or nullptr.
template <typename NodeType>
NodeType* walk(NodeType& root, FilePath::const_iterator first, FilePath::const_iterator last) {
    NodeType* node = &root;
    for (; first != last; ++first) {
        auto it = node->children.find(*first);
        if (it == node->children.end()) {
            return nullptr;
        }
        node = &it->second;
    }
    return node;
}

void checkPath(FilePath const& path) {
    if (path.empty()) {
        throw std::invalid_argument("the master file cannot be replaced");
    }
    for (std::uint16_t fid : path) {
        if (fid == MasterFileId || fid == InvalidFileId) {
            throw std::invalid_argument("reserved file identifier in the path");
        }
    }
}

}  // namespace

FileSystem::Node& FileSystem::makeParents_(FilePath const& path) {
    checkPath(path);
    Node* dir = &root_;
    for (auto it = path.begin(); it + 1 != path.end(); ++it) {
        dir = &dir->children[*it];
        if (!dir->directory) {
            throw std::invalid_argument("the path runs through a transparent file");
        }
    }
    return *dir;
}

void FileSystem::putFile(FilePath const& path, ByteVector content) {
    if (content.size() > MaxFileSize) {
        throw std::invalid_argument("file content over 65535 bytes");
    }
    Node& file = makeParents_(path).children[path.back()];
    file.directory = false;
    file.content = std::move(content);
    file.children.clear();
}

void FileSystem::putDirectory(FilePath const& path) {
    Node& dir = makeParents_(path).children[path.back()];
    if (!dir.directory) {
        throw std::invalid_argument("a transparent file has this identifier");
    }
}

bool FileSystem::remove(FilePath const& path) {
    if (path.empty()) {
        return false;
    }
    Node* parent = walk(root_, path.begin(), path.end() - 1);
    return parent != nullptr && parent->children.erase(path.back()) == 1;
}

FileSystem::Node const* FileSystem::find(FilePath const& path) const {
    return walk(root_, path.begin(), path.end());
}

FileSystem::Node* FileSystem::find(FilePath const& path) {
    return walk(root_, path.begin(), path.end());
}

}  // namespace testsupport::cardsim
