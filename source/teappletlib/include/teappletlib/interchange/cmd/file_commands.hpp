#pragma once

#include <string>

#include <boost/optional.hpp>

#include "iso7816/interchange/aid.hpp"
#include "iso7816/interchange/data_tag.hpp"
#include "iso7816/interchange/file_id.hpp"
#include "iso7816/interchange/short_file_id.hpp"
#include "teappletlib/interchange/acl.hpp"
#include "teappletlib/interchange/file_information.hpp"
#include "velk/allocated_string.hpp"

namespace teappletlib::interchange::cmd {

// Files of the applet, the applet SELECT and its data objects.
class FileCommands {
public:
    using Data = velk::basic_allocated_string<unsigned char>;
    // Result flags of the applet SELECT.
    using SelectFlags = unsigned int;
    // Bit 0: the applet is present and now selected on the channel.
    static constexpr SelectFlags AppletSelected = 0x01;

    virtual ~FileCommands() = default;

    // Empty when the file does not exist.
    virtual boost::optional<FileInformation> selectFileWithInfo(
        iso7816::interchange::FileId fid) const = 0;
    // False when the file does not exist.
    virtual bool selectFile(iso7816::interchange::FileId fid) const = 0;
    virtual void createEf(iso7816::interchange::FileId fid, iso7816::interchange::ShortFileId sfi,
                          unsigned short size, Acl const& first, Acl const& second) = 0;
    // maxFiles: the largest number of files the DF may hold.
    virtual void createDf(iso7816::interchange::FileId fid, unsigned short maxFiles,
                          Acl const& acl) = 0;
    // Resizes the current EF; false when the applet refuses.
    virtual bool resizeEf(unsigned short size) = 0;
    // Writes into the current EF; offsets above 0x7FFF are refused.
    virtual void updateBinary(Data data, unsigned short offset) = 0;
    // Writes into the EF of the current DF named by sfi; false when there is none.
    virtual bool updateBinaryShortFid(iso7816::interchange::ShortFileId sfi, Data data,
                                      unsigned char offset) = 0;
    // Reads from the current EF; offsets above 0x7FFF are refused.
    virtual Data readBinary(unsigned short offset, unsigned long length) const = 0;
    virtual SelectFlags selectTessaroApplet() const = 0;
    virtual SelectFlags selectTessaroApplet(iso7816::interchange::Aid const& aid) const = 0;
    virtual unsigned long getMaxReadBinaryLength() const = 0;
    virtual unsigned long getMaxUpdateBinaryLength() const = 0;
    virtual std::basic_string<unsigned char> getData(iso7816::interchange::DataTag tag) const = 0;
};

}  // namespace teappletlib::interchange::cmd
