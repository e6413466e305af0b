#pragma once

#include <utility>

#include <boost/optional.hpp>

#include "teappletlib/interchange/cmd/file_commands.hpp"
#include "teappletlib/interchange/file_information.hpp"
#include "teappletlib/interchange/obj/driver/file_driver.hpp"
#include "teappletlib/interchange/obj/driver/impl/cmd/detail/selected_path_manager.hpp"

namespace teappletlib::interchange::obj::driver::impl::cmd {

namespace detail {

// What every file driver of one manager shares: one selection, one mutex, one command group.
struct FileAccess {
    SelectedPathManager* paths;
    interchange::cmd::FileCommands& commands;
};

}  // namespace detail

// Every operation that talks to the card holds the manager's mutex throughout. Must not outlive
// the manager that made it.
class FileDriverCmd : public FileDriver {
public:
    static constexpr unsigned long MaxOffset = 0x7FFF;

    FileDriverCmd(detail::FileAccess& access, AbsoluteFid path)
        : access_(&access), path_(std::move(path)) {}

    AbsoluteFid const& getPath() const override { return path_; }
    bool exists() const override;
    unsigned long getSize() const override;
    bool resize(unsigned long size) override;
    unsigned long getMaxOffset() const override { return MaxOffset; }
    unsigned long getReadBlockLength() const override;
    unsigned long getWriteBlockLength() const override;
    Data read(unsigned long length, unsigned long offset) const override;
    void write(Data const& data, unsigned long offset) override;

private:
    // Both expect the manager's mutex to be held.
    boost::optional<FileInformation> select_() const;
    FileInformation selectOrThrow_() const;

    detail::FileAccess* access_;
    AbsoluteFid path_;
};

}  // namespace teappletlib::interchange::obj::driver::impl::cmd
