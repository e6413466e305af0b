#include "teappletlib/interchange/obj/driver/impl/cmd/file_manager_driver_cmd.hpp"

#include <mutex>

#include "file_interface.hpp"
#include "velk/exceptions.hpp"

namespace teappletlib::interchange::obj::driver::impl::cmd {

namespace {

constexpr unsigned long MaxCount = 0xFFFF;

// Selects the DF in which path's last element is to be created. A parent that turns out to be
// an EF counts as missing: the card would create the file beside it instead.
void selectParentDf(detail::FileAccess& access, AbsoluteFid const& path, char const* failure) {
    if (path.empty()) {
        throw velk::InputError("A new file needs a path below the MF");
    }
    AbsoluteFid const parent(path.begin(), path.end() - 1);
    auto const info =
        detail::FileInterface(access.commands, access.paths->selection()).select(parent);
    if (!info || info->type != FileType::Df) {
        throw velk::secure_elt_err::PathInvalid(failure);
    }
}

}  // namespace

std::shared_ptr<FileDriver> FileManagerDriverCmd::get(AbsoluteFid const& path) {
    return std::make_shared<FileDriverCmd>(access_, path);
}

std::shared_ptr<FileDriver const> FileManagerDriverCmd::get(AbsoluteFid const& path) const {
    return std::make_shared<FileDriverCmd const>(access_, path);
}

std::shared_ptr<FileDriver> FileManagerDriverCmd::create(AbsoluteFid const& path,
                                                         iso7816::interchange::ShortFileId sfi,
                                                         unsigned long size, Acl const& first,
                                                         Acl const& second) {
    {
        std::lock_guard<std::mutex> lock(paths_.mutex());
        selectParentDf(access_, path, "Failed to select path for file creation");
        if (size > MaxCount) {
            throw velk::secure_elt_err::WrongData("Size too long");
        }
        access_.commands.createEf(path.back(), sfi, static_cast<unsigned short>(size), first,
                                  second);
        // What the card has selected after a creation is its own business.
        paths_.selection().reset();
    }
    return get(path);
}

void FileManagerDriverCmd::createDir(AbsoluteFid const& path, unsigned long maxFiles,
                                     Acl const& acl) {
    std::lock_guard<std::mutex> lock(paths_.mutex());
    selectParentDf(access_, path, "Failed to select path for dir creation");
    if (maxFiles > MaxCount) {
        throw velk::secure_elt_err::WrongData("Max files too large");
    }
    access_.commands.createDf(path.back(), static_cast<unsigned short>(maxFiles), acl);
    paths_.selection().reset();
}

void FileManagerDriverCmd::select(AbsoluteFid const& path) {
    std::lock_guard<std::mutex> lock(paths_.mutex());
    detail::FileInterface(access_.commands, paths_.selection()).selectExisting(path);
}

}  // namespace teappletlib::interchange::obj::driver::impl::cmd
