#pragma once

#include "iso7816/interchange/apdu_transmit.hpp"
#include "teappletlib/interchange/cmd/file_commands.hpp"

namespace teappletlib::interchange::cmd::impl::apdu {

class FileCommands : public cmd::FileCommands {
public:
    explicit FileCommands(iso7816::interchange::ApduTransmit& transmit) : transmit_(transmit) {}

    boost::optional<FileInformation> selectFileWithInfo(
        iso7816::interchange::FileId fid) const override;
    bool selectFile(iso7816::interchange::FileId fid) const override;
    void createEf(iso7816::interchange::FileId fid, iso7816::interchange::ShortFileId sfi,
                  unsigned short size, Acl const& first, Acl const& second) override;
    void createDf(iso7816::interchange::FileId fid, unsigned short maxFiles,
                  Acl const& acl) override;
    bool resizeEf(unsigned short size) override;
    void updateBinary(Data data, unsigned short offset) override;
    bool updateBinaryShortFid(iso7816::interchange::ShortFileId sfi, Data data,
                              unsigned char offset) override;
    Data readBinary(unsigned short offset, unsigned long length) const override;
    SelectFlags selectTessaroApplet() const override;
    SelectFlags selectTessaroApplet(iso7816::interchange::Aid const& aid) const override;
    unsigned long getMaxReadBinaryLength() const override;
    unsigned long getMaxUpdateBinaryLength() const override;
    std::basic_string<unsigned char> getData(iso7816::interchange::DataTag tag) const override;

private:
    iso7816::interchange::ApduTransmit& transmit_;
};

}  // namespace teappletlib::interchange::cmd::impl::apdu
