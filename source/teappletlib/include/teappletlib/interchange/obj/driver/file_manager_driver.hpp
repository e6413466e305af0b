#pragma once

#include <memory>

#include "iso7816/interchange/short_file_id.hpp"
#include "teappletlib/interchange/absolute_fid.hpp"
#include "teappletlib/interchange/acl.hpp"
#include "teappletlib/interchange/obj/driver/file_driver.hpp"

namespace teappletlib::interchange::obj::driver {

// The applet's file tree.
class FileManagerDriver {
public:
    virtual ~FileManagerDriver() = default;

    // Talks to nothing: the file need not exist.
    virtual std::shared_ptr<FileDriver> get(AbsoluteFid const& path) = 0;
    virtual std::shared_ptr<FileDriver const> get(AbsoluteFid const& path) const = 0;
    virtual std::shared_ptr<FileDriver> create(AbsoluteFid const& path,
                                               iso7816::interchange::ShortFileId sfi,
                                               unsigned long size, Acl const& first,
                                               Acl const& second) = 0;
    virtual void createDir(AbsoluteFid const& path, unsigned long maxFiles, Acl const& acl) = 0;
};

}  // namespace teappletlib::interchange::obj::driver
