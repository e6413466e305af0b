#pragma once

#include "teappletlib/interchange/cmd/file_commands.hpp"
#include "teappletlib/interchange/obj/driver/file_manager_driver.hpp"
#include "teappletlib/interchange/obj/driver/impl/cmd/cache_key.hpp"
#include "teappletlib/interchange/obj/driver/impl/cmd/detail/selected_path_manager.hpp"
#include "teappletlib/interchange/obj/driver/impl/cmd/file_driver_cmd.hpp"

namespace teappletlib::interchange::obj::driver::impl::cmd {

// Hands out file drivers that share this manager's selection and mutex; they must not outlive
// it. Destroying the manager writes the selection back to the cache.
class FileManagerDriverCmd : public FileManagerDriver {
public:
    FileManagerDriverCmd(KeyValueCache const& cache, interchange::cmd::FileCommands& commands)
        : paths_(cache), access_{&paths_, commands} {}
    FileManagerDriverCmd(FileManagerDriverCmd const&) = delete;
    FileManagerDriverCmd& operator=(FileManagerDriverCmd const&) = delete;

    std::shared_ptr<FileDriver> get(AbsoluteFid const& path) override;
    std::shared_ptr<FileDriver const> get(AbsoluteFid const& path) const override;
    std::shared_ptr<FileDriver> create(AbsoluteFid const& path,
                                       iso7816::interchange::ShortFileId sfi, unsigned long size,
                                       Acl const& first, Acl const& second) override;
    void createDir(AbsoluteFid const& path, unsigned long maxFiles, Acl const& acl) override;

    // Walks to path; throws velk::secure_elt_err::FileNotFound "File not found" when it is not
    // there.
    void select(AbsoluteFid const& path);

private:
    detail::SelectedPathManager paths_;
    mutable detail::FileAccess access_;
};

}  // namespace teappletlib::interchange::obj::driver::impl::cmd
