#pragma once

#include "iso7816/interchange/apdu.hpp"
#include "iso7816/interchange/iso7816_response.hpp"
#include "velk/allocated_string.hpp"
#include "velk/octet.hpp"

// GET DATA (ISO 7816-4).
namespace iso7816::interchange::spec::get_data {

constexpr ApduCla Cla{0x00};
constexpr ApduIns Ins{0xCA};

// Keeps the response data whatever the status word.
class Response : public Iso7816Response {
public:
    explicit Response(ApduResponse const& response);

    velk::basic_allocated_string<velk::Octet> const& GetData() const { return data_; }

private:
    velk::basic_allocated_string<velk::Octet> data_;
};

}  // namespace iso7816::interchange::spec::get_data
