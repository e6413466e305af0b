#include "file_interface.hpp"

#include <algorithm>

#include "velk/exceptions.hpp"
#include "velk/log_writing_stream.hpp"
#include "velk/logger.hpp"
#include "velk/path.hpp"

namespace teappletlib::interchange::obj::driver::impl::cmd::detail {

namespace {

using iso7816::interchange::FileId;
using iso7816::interchange::MasterFileFid;

// The DF that the card has current when the selection is remembered.
class DirectoryOf : public boost::static_visitor<AbsoluteFid> {
public:
    explicit DirectoryOf(boost::optional<FileInformation> const& info) : info_(info) {}

    AbsoluteFid operator()(AbsoluteFid path) const {
        if (info_ && info_->type == FileType::Ef && !path.empty()) {
            path.pop_back();
        }
        return path;
    }
    AbsoluteFid operator()(AbsoluteSid const& sid) const { return sid.dfPath; }

private:
    boost::optional<FileInformation> const& info_;
};

AbsoluteFid directoryOf(SelectionInfo const& selection) {
    return boost::apply_visitor(DirectoryOf(selection.info), selection.path);
}

bool isRemembered(boost::optional<SelectionInfo> const& selection, AbsoluteFid const& path) {
    if (!selection) {
        return false;
    }
    auto const* remembered = boost::get<AbsoluteFid>(&selection->path);
    return remembered != nullptr && *remembered == path;
}

}  // namespace

boost::optional<FileInformation> FileInterface::select(FileId fid) const {
    try {
        auto info = commands_.selectFileWithInfo(fid);
        if (!info) {
            return info;
        }
        if (fid == MasterFileFid) {
            selection_ = SelectionInfo{AbsolutePath::Mf, info};
        } else if (selection_) {
            selection_ = SelectionInfo{directoryOf(*selection_) + fid, info};
        }
        return info;
    } catch (...) {
        // The card's selection is unknown now; the next walk starts from the MF.
        selection_.reset();
        throw;
    }
}

boost::optional<FileInformation> FileInterface::select(AbsoluteFid const& path) const {
    if (isRemembered(selection_, path)) {
        return selection_->info;
    }
    if (path.empty()) {
        return select(MasterFileFid);
    }
    AbsoluteFid const parent(path.begin(), path.end() - 1);
    auto next = parent.begin();
    boost::optional<FileInformation> lastInfo;

    auto const directory =
        selection_ ? boost::make_optional(directoryOf(*selection_)) : boost::none;
    if (directory && directory->size() <= parent.size() &&
        std::equal(directory->begin(), directory->end(), parent.begin())) {
        next += static_cast<AbsoluteFid::difference_type>(directory->size());
    } else {
        lastInfo = select(MasterFileFid);
        if (!lastInfo) {
            return boost::none;
        }
    }
    for (; next != parent.end(); ++next) {
        lastInfo = select(*next);
        if (!lastInfo) {
            return boost::none;
        }
    }
    if (!lastInfo || lastInfo->type == FileType::Df) {
        return select(path.back());
    }
    velk::LogWritingStream(velk::GetLogger(), velk::LogLevel::Warning, velk::GetFileName(__FILE__),
                           __LINE__)
        << "Attempted to select non-DF as DF" << std::endl;
    return boost::none;
}

FileInformation FileInterface::selectExisting(AbsoluteFid const& path) const {
    auto const info = select(path);
    if (!info) {
        throw velk::secure_elt_err::FileNotFound("File not found");
    }
    return *info;
}

}  // namespace teappletlib::interchange::obj::driver::impl::cmd::detail
