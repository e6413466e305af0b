#pragma once

#include <cstddef>
#include <cstdint>

namespace testsupport::cardsim::detail::sw {

constexpr std::uint16_t Ok = 0x9000;
constexpr std::uint16_t NothingDone = 0x6200;
constexpr std::uint16_t PinPolicyViolated = 0x6400;
constexpr std::uint16_t WrongLength = 0x6700;
constexpr std::uint16_t ChannelNotSupported = 0x6881;
constexpr std::uint16_t SecureMessagingNotSupported = 0x6882;
constexpr std::uint16_t ChainingNotSupported = 0x6884;
constexpr std::uint16_t SecurityStatusNotSatisfied = 0x6982;
constexpr std::uint16_t AuthenticationBlocked = 0x6983;
constexpr std::uint16_t ConditionsOfUseNotSatisfied = 0x6985;
constexpr std::uint16_t NoCurrentFile = 0x6986;
constexpr std::uint16_t KeyUsageRestricted = 0x6988;
constexpr std::uint16_t WrongData = 0x6A80;
constexpr std::uint16_t FunctionNotSupported = 0x6A81;
constexpr std::uint16_t FileNotFound = 0x6A82;
constexpr std::uint16_t IncorrectParameters = 0x6A86;
constexpr std::uint16_t ReferencedDataNotFound = 0x6A88;
constexpr std::uint16_t InstructionNotSupported = 0x6D00;
constexpr std::uint16_t ClassNotSupported = 0x6E00;
constexpr std::uint16_t NoPreciseDiagnosis = 0x6F00;

// 63Cx: a wrong PIN with x tries left.
constexpr std::uint16_t wrongPin(std::uint8_t triesLeft) {
    return static_cast<std::uint16_t>(0x63C0 | (triesLeft & 0x0F));
}

// 6Cxx: Le must be xx (00 for 256) to receive the answer.
constexpr std::uint16_t wrongLe(std::size_t available) {
    return static_cast<std::uint16_t>(0x6C00 | (available & 0xFF));
}

}  // namespace testsupport::cardsim::detail::sw
