#pragma once

#include <cstdint>

#include "iso7816/interchange/apdu_cla.hpp"
#include "iso7816/interchange/apdu_ins.hpp"
#include "velk/allocated_string.hpp"

namespace iso7816::interchange {

// A command APDU. The data may be secret (PINs, key material), so it lives in a zero-erasing
// string. Le 0 means no Le byte; 1 to 256 is the number of response bytes expected.
class Apdu {
public:
    using Data = velk::basic_allocated_string<unsigned char>;

    // Class byte 00.
    Apdu(ApduIns const& ins, std::uint8_t p1, std::uint8_t p2, Data data,
         std::uint32_t expectedLength);
    Apdu(ApduCla const& cla, ApduIns const& ins, std::uint8_t p1, std::uint8_t p2, Data data,
         std::uint32_t expectedLength);
    // Without a data field; class byte 00.
    Apdu(ApduIns const& ins, std::uint8_t p1, std::uint8_t p2, std::uint32_t expectedLength);
    Apdu(ApduCla const& cla, ApduIns const& ins, std::uint8_t p1, std::uint8_t p2,
         std::uint32_t expectedLength);

    // Mutable so that the channel layer can write the channel bits.
    ApduCla& GetCla() noexcept { return cla_; }
    ApduCla const& GetCla() const noexcept { return cla_; }
    ApduIns& GetIns() noexcept { return ins_; }
    ApduIns const& GetIns() const noexcept { return ins_; }
    std::uint8_t GetP1() const noexcept { return p1_; }
    std::uint8_t GetP2() const noexcept { return p2_; }
    std::uint32_t GetExpectedLength() const noexcept { return expectedLength_; }

    // An APDU built with an empty data string has no data field.
    bool HasData() const noexcept { return hasData_ && !data_.empty(); }
    Data const& GetData() const noexcept { return data_; }
    // The previous data leaves with the argument and is erased with it.
    void SetData(Data data);

private:
    ApduCla cla_;
    ApduIns ins_;
    std::uint8_t p1_;
    std::uint8_t p2_;
    Data data_;
    bool hasData_;
    std::uint32_t expectedLength_;
};

// Compares the command itself: CLA, data, INS, P1 and P2; Le and the data-field flag are ignored.
bool operator==(Apdu const& a, Apdu const& b);
bool operator!=(Apdu const& a, Apdu const& b);

}  // namespace iso7816::interchange
