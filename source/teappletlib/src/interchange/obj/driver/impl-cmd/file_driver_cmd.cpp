#include "teappletlib/interchange/obj/driver/impl/cmd/file_driver_cmd.hpp"

#include <algorithm>
#include <mutex>

#include "file_interface.hpp"
#include "velk/exceptions.hpp"

namespace teappletlib::interchange::obj::driver::impl::cmd {

namespace {

constexpr unsigned long MaxFileSize = 0xFFFF;
// readBinary refuses an offset with bit 15 set, so a clamped offset fails there instead of
// wrapping round to the start of the file.
constexpr unsigned long MaxWireOffset = 0xFFFF;

unsigned short wireOffset(unsigned long offset, std::size_t done) {
    auto const sum = std::min(offset, MaxWireOffset) + std::min<unsigned long>(done, MaxWireOffset);
    return static_cast<unsigned short>(std::min(sum, MaxWireOffset));
}

// A chain that carries no data would make the chunk loops spin.
unsigned long checkedBlock(unsigned long block) {
    if (block == 0) {
        throw velk::InputError("The transmission chain carries no file data");
    }
    return block;
}

}  // namespace

bool FileDriverCmd::exists() const {
    std::lock_guard<std::mutex> lock(access_->paths->mutex());
    return select_().has_value();
}

unsigned long FileDriverCmd::getSize() const {
    std::lock_guard<std::mutex> lock(access_->paths->mutex());
    return selectOrThrow_().size;
}

bool FileDriverCmd::resize(unsigned long size) {
    std::lock_guard<std::mutex> lock(access_->paths->mutex());
    selectOrThrow_();
    if (size > MaxFileSize) {
        throw velk::secure_elt_err::WrongData("New file size is too large");
    }
    auto const resized = access_->commands.resizeEf(static_cast<unsigned short>(size));
    // The walk has left this file selected; keep its remembered size true.
    auto& selection = access_->paths->selection();
    if (resized && selection && selection->info) {
        selection->info->size = static_cast<std::uint16_t>(size);
    }
    return resized;
}

unsigned long FileDriverCmd::getReadBlockLength() const {
    return access_->commands.getMaxReadBinaryLength();
}

unsigned long FileDriverCmd::getWriteBlockLength() const {
    return access_->commands.getMaxUpdateBinaryLength();
}

FileDriver::Data FileDriverCmd::read(unsigned long length, unsigned long offset) const {
    std::lock_guard<std::mutex> lock(access_->paths->mutex());
    selectOrThrow_();
    auto const block = checkedBlock(getReadBlockLength());
    Data result;
    // No read gets past the largest offset, whatever length the caller asks.
    result.reserve(std::min(length, MaxOffset + block));
    while (result.size() < length) {
        auto const asked = std::min(length - result.size(), block);
        auto const chunk = access_->commands.readBinary(wireOffset(offset, result.size()), asked);
        result.append(chunk);
        if (chunk.size() < asked) {
            break;  // a short answer ends the file
        }
    }
    return result;
}

void FileDriverCmd::write(Data const& data, unsigned long offset) {
    if (data.empty()) {
        return;
    }
    // Refused before anything is sent: a write that stops half way would leave the file partly
    // overwritten.
    auto const block = checkedBlock(getWriteBlockLength());
    auto const lastChunkStart = (data.size() - 1) / block * block;
    if (offset > MaxOffset || lastChunkStart > MaxOffset - offset) {
        throw velk::InputError("File write exceeds maximum offset");
    }
    std::lock_guard<std::mutex> lock(access_->paths->mutex());
    selectOrThrow_();
    for (std::size_t pos = 0; pos < data.size(); pos += block) {
        Data chunk(data.data() + pos, std::min<std::size_t>(block, data.size() - pos));
        access_->commands.updateBinary(std::move(chunk), static_cast<unsigned short>(offset + pos));
    }
}

boost::optional<FileInformation> FileDriverCmd::select_() const {
    return detail::FileInterface(access_->commands, access_->paths->selection()).select(path_);
}

FileInformation FileDriverCmd::selectOrThrow_() const {
    return detail::FileInterface(access_->commands, access_->paths->selection())
        .selectExisting(path_);
}

}  // namespace teappletlib::interchange::obj::driver::impl::cmd
