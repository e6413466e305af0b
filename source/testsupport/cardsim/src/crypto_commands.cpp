#include <optional>

#include "command_handlers.hpp"
#include "status_words.hpp"

namespace testsupport::cardsim::detail {
namespace {

using Operation = SecurityEnvironment::Operation;

constexpr std::uint8_t SetEnvironment = 0x41;
constexpr std::uint8_t SignatureTemplate = 0xB6;
constexpr std::uint8_t ConfidentialityTemplate = 0xB8;
constexpr std::uint8_t KeyReferenceTag = 0x84;
constexpr std::uint8_t AlgorithmReferenceTag = 0x80;

// Algorithm references: the block to sign arrives complete; deciphering removes PKCS#1 v1.5
// padding (02) or none (00).
constexpr std::uint8_t SignPrepared = 0x02;
constexpr std::uint8_t DecipherRaw = 0x00;
constexpr std::uint8_t DecipherPkcs1 = 0x02;

constexpr std::uint16_t ComputeSignature = 0x9E9A;
constexpr std::uint16_t Decipher = 0x8086;

constexpr std::uint8_t ModulusComponent = 0x01;
constexpr std::uint8_t ExponentComponent = 0x02;

struct EnvironmentData {
    std::optional<std::uint8_t> keyId;
    std::optional<std::uint8_t> algorithm;
};

// Reads the one-byte objects 84 and 80; empty when the field is not a run of such objects.
std::optional<EnvironmentData> parseEnvironment(
    velk::basic_allocated_string<unsigned char> const& data) {
    EnvironmentData result;
    for (std::size_t i = 0; i < data.size(); i += 3) {
        if (data.size() - i < 3 || data[i + 1] != 1) {
            return std::nullopt;
        }
        if (data[i] == KeyReferenceTag) {
            result.keyId = data[i + 2];
        } else if (data[i] == AlgorithmReferenceTag) {
            result.algorithm = data[i + 2];
        } else {
            return std::nullopt;
        }
    }
    return result;
}

bool algorithmSupported(Operation operation, std::uint8_t algorithm) {
    if (operation == Operation::Sign) {
        return algorithm == SignPrepared;
    }
    return algorithm == DecipherRaw || algorithm == DecipherPkcs1;
}

}  // namespace

Response manageSecurityEnvironment(CardState& card, ChannelState& channel,
                                   CommandApdu const& command) {
    if (command.p1 != SetEnvironment ||
        (command.p2 != SignatureTemplate && command.p2 != ConfidentialityTemplate)) {
        return status(sw::IncorrectParameters);
    }
    Operation const operation =
        command.p2 == SignatureTemplate ? Operation::Sign : Operation::Decipher;
    std::optional<EnvironmentData> const data = parseEnvironment(command.data);
    if (!data || !data->keyId || !data->algorithm) {
        return status(sw::WrongData);
    }
    KeySlot const* slot = card.keySlot(*data->keyId);
    if (slot == nullptr) {
        return status(sw::ReferencedDataNotFound);
    }
    if (!algorithmSupported(operation, *data->algorithm)) {
        return status(sw::FunctionNotSupported);
    }
    if (!(operation == Operation::Sign ? slot->signing : slot->deciphering)) {
        return status(sw::KeyUsageRestricted);
    }
    channel.environment = {operation, *data->keyId, *data->algorithm};
    return status(sw::Ok);
}

Response performSecurityOperation(CardState& card, ChannelState& channel,
                                  CommandApdu const& command) {
    std::uint16_t const p1p2 = word(command.p1, command.p2);
    if (p1p2 != ComputeSignature && p1p2 != Decipher) {
        return status(sw::IncorrectParameters);
    }
    // Data: a 16-bit offset, always 0, and the length of the input in the crypto input buffer.
    if (command.data.size() != 4) {
        return status(sw::WrongLength);
    }
    if (command.data[0] != 0 || command.data[1] != 0) {
        return status(sw::WrongData);
    }
    std::size_t const length = word(command.data[2], command.data[3]);
    SecurityEnvironment const& environment = channel.environment;
    Operation const operation = p1p2 == ComputeSignature ? Operation::Sign : Operation::Decipher;
    KeySlot const* slot = card.keySlot(environment.keyId);
    if (environment.operation != operation || slot == nullptr) {
        return status(sw::ConditionsOfUseNotSatisfied);
    }
    if (!channel.pinVerified) {
        return status(sw::SecurityStatusNotSatisfied);
    }
    if (length > channel.cryptoInput.size()) {
        return status(sw::WrongLength);
    }
    if (operation == Operation::Sign) {
        std::optional<ByteVector> signature =
            slot->key.signBlock(channel.cryptoInput.data(), length);
        return signature ? dataResponse(std::move(*signature), command.ne)
                         : status(sw::WrongLength);
    }
    std::optional<ByteVector> plain = slot->key.decipher(channel.cryptoInput.data(), length,
                                                         environment.algorithm == DecipherPkcs1);
    return plain ? dataResponse(std::move(*plain), command.ne) : status(sw::WrongData);
}

Response readPublicComponent(CardState& card, ChannelState&, CommandApdu const& command) {
    if (!command.data.empty()) {
        return status(sw::WrongLength);
    }
    KeySlot const* slot = card.keySlot(command.p1);
    if (slot == nullptr) {
        return status(sw::ReferencedDataNotFound);
    }
    switch (command.p2) {
        case ModulusComponent:
            return dataResponse(slot->key.modulus(), command.ne);
        case ExponentComponent:
            return dataResponse(slot->key.publicExponent(), command.ne);
        default:
            return status(sw::IncorrectParameters);
    }
}

}  // namespace testsupport::cardsim::detail
