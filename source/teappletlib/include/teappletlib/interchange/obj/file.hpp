#pragma once

#include <memory>
#include <utility>

#include "teappletlib/interchange/obj/driver/file_driver.hpp"

namespace teappletlib::interchange::obj {

// A file of the card. Valid only inside the card transaction that handed it out.
class File {
public:
    using Data = driver::FileDriver::Data;

    explicit File(std::shared_ptr<driver::FileDriver> driver) : driver_(std::move(driver)) {}

    AbsoluteFid const& getPath() const { return driver_->getPath(); }
    bool exists() const { return driver_->exists(); }
    unsigned long getSize() const { return driver_->getSize(); }
    bool resize(unsigned long size) { return driver_->resize(size); }
    unsigned long getMaxOffset() const { return driver_->getMaxOffset(); }
    unsigned long getReadBlockLength() const { return driver_->getReadBlockLength(); }
    unsigned long getWriteBlockLength() const { return driver_->getWriteBlockLength(); }
    Data read(unsigned long length, unsigned long offset) const {
        return driver_->read(length, offset);
    }
    void write(Data const& data, unsigned long offset) { driver_->write(data, offset); }

private:
    std::shared_ptr<driver::FileDriver> driver_;
};

}  // namespace teappletlib::interchange::obj
