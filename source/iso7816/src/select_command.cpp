#include "iso7816/interchange/select_command.hpp"

namespace iso7816::interchange::spec::select::aid {

Apdu getApdu(Aid const& aid) {
    constexpr std::uint8_t ByName = 0x04;
    constexpr std::uint8_t FirstOccurrence = 0x00;
    std::basic_string<unsigned char> const& raw = aid.getRaw();
    return Apdu(Cla, Ins, ByName, FirstOccurrence, Apdu::Data(raw.data(), raw.size()), 0);
}

}  // namespace iso7816::interchange::spec::select::aid
