#include "iso7816/interchange/cmd/impl/apdu/data_object_commands.hpp"

#include "iso7816/interchange/cmd/impl/apdu/process_error.hpp"
#include "iso7816/interchange/get_data_command.hpp"
#include "velk/exceptions.hpp"

namespace iso7816::interchange::cmd::impl::apdu {

namespace {

constexpr std::uint16_t DataNotFound = 0x6A88;

}  // namespace

// GET DATA.
boost::optional<velk::basic_allocated_string<velk::Octet>> DataObjectCommands::getData(
    DataTag tag, std::size_t maxLength) const {
    namespace gd = spec::get_data;
    // Le 0 would mean "no data expected", and a longer one would wrap in its single byte.
    if (maxLength == 0 || maxLength > getDataMaxLength()) {
        throw velk::InputError("GET DATA maximum length out of range");
    }
    std::uint16_t const value = tag.GetValue();
    gd::Response const response(transmit_.Transmit(
        Apdu(gd::Cla, gd::Ins, static_cast<std::uint8_t>(value >> 8),
             static_cast<std::uint8_t>(value & 0xFF), static_cast<std::uint32_t>(maxLength))));
    if (!response.IsError()) {
        return response.GetData();
    }
    if (response.HasCode(DataNotFound)) {
        return boost::none;
    }
    processError(response);
}

std::size_t DataObjectCommands::getDataMaxLength() const {
    return transmit_.GetMaxResponseLength();
}

}  // namespace iso7816::interchange::cmd::impl::apdu
