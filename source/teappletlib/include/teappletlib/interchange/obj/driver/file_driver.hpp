#pragma once

#include "teappletlib/interchange/absolute_fid.hpp"
#include "velk/allocated_string.hpp"

namespace teappletlib::interchange::obj::driver {

// One file of the applet, by its path below the MF.
class FileDriver {
public:
    using Data = velk::basic_allocated_string<unsigned char>;

    virtual ~FileDriver() = default;

    virtual AbsoluteFid const& getPath() const = 0;
    virtual bool exists() const = 0;
    virtual unsigned long getSize() const = 0;
    virtual bool resize(unsigned long size) = 0;
    // The largest offset a read or write may start at.
    virtual unsigned long getMaxOffset() const = 0;
    virtual unsigned long getReadBlockLength() const = 0;
    virtual unsigned long getWriteBlockLength() const = 0;
    // May return fewer bytes than asked: a short answer of the card ends the file.
    virtual Data read(unsigned long length, unsigned long offset) const = 0;
    virtual void write(Data const& data, unsigned long offset) = 0;
};

}  // namespace teappletlib::interchange::obj::driver
