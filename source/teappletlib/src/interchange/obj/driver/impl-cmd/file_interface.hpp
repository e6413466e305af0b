#pragma once

#include <boost/optional.hpp>

#include "iso7816/interchange/file_id.hpp"
#include "teappletlib/interchange/absolute_fid.hpp"
#include "teappletlib/interchange/cmd/file_commands.hpp"
#include "teappletlib/interchange/file_information.hpp"
#include "teappletlib/interchange/obj/driver/impl/cmd/detail/selection_info.hpp"

namespace teappletlib::interchange::obj::driver::impl::cmd::detail {

// SELECTs that keep the working selection in step with the card. Built for one select while the
// manager's mutex is held.
class FileInterface {
public:
    FileInterface(interchange::cmd::FileCommands& commands,
                  boost::optional<SelectionInfo>& selection)
        : commands_(commands), selection_(selection) {}

    // Sends only the SELECTs of the path that differ from the working selection. Empty when the
    // file is not there, or when the path runs through an EF.
    boost::optional<FileInformation> select(AbsoluteFid const& path) const;
    // The same; throws velk::secure_elt_err::FileNotFound "File not found" instead of empty.
    FileInformation selectExisting(AbsoluteFid const& path) const;
    // One SELECT; empty when the card does not have the file.
    boost::optional<FileInformation> select(iso7816::interchange::FileId fid) const;

private:
    interchange::cmd::FileCommands& commands_;
    boost::optional<SelectionInfo>& selection_;
};

}  // namespace teappletlib::interchange::obj::driver::impl::cmd::detail
