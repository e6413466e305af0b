#include "iso7816/interchange/apdu.hpp"

#include <algorithm>
#include <utility>

namespace iso7816::interchange {

namespace {

constexpr ApduCla InterindustryClass{0x00};

}  // namespace

Apdu::Apdu(ApduIns const& ins, std::uint8_t p1, std::uint8_t p2, Data data,
           std::uint32_t expectedLength)
    : Apdu(InterindustryClass, ins, p1, p2, std::move(data), expectedLength) {}

Apdu::Apdu(ApduCla const& cla, ApduIns const& ins, std::uint8_t p1, std::uint8_t p2, Data data,
           std::uint32_t expectedLength)
    : cla_(cla),
      ins_(ins),
      p1_(p1),
      p2_(p2),
      data_(std::move(data)),
      hasData_(true),
      expectedLength_(expectedLength) {}

Apdu::Apdu(ApduIns const& ins, std::uint8_t p1, std::uint8_t p2, std::uint32_t expectedLength)
    : Apdu(InterindustryClass, ins, p1, p2, expectedLength) {}

Apdu::Apdu(ApduCla const& cla, ApduIns const& ins, std::uint8_t p1, std::uint8_t p2,
           std::uint32_t expectedLength)
    : cla_(cla), ins_(ins), p1_(p1), p2_(p2), hasData_(false), expectedLength_(expectedLength) {}

void Apdu::SetData(Data data) {
    using std::swap;
    swap(data_, data);
}

bool operator==(Apdu const& a, Apdu const& b) {
    Apdu::Data const& da = a.GetData();
    Apdu::Data const& db = b.GetData();
    return a.GetCla() == b.GetCla() && da.size() == db.size() &&
           std::equal(da.begin(), da.end(), db.begin()) && a.GetIns() == b.GetIns() &&
           a.GetP1() == b.GetP1() && a.GetP2() == b.GetP2();
}

bool operator!=(Apdu const& a, Apdu const& b) {
    return !(a == b);
}

}  // namespace iso7816::interchange
