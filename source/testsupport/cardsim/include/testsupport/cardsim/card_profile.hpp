#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <vector>

#include "testsupport/cardsim/byte_vector.hpp"
#include "testsupport/cardsim/card_type.hpp"
#include "testsupport/cardsim/file_system.hpp"
#include "testsupport/cardsim/rsa_key.hpp"
#include "velk/allocated_string.hpp"

namespace testsupport::cardsim {

constexpr std::size_t MaxPinLength = 15;
constexpr std::uint8_t MaxChannelCount = 20;

struct PinSettings {
    std::uint8_t objectId = 3;
    // At most MaxPinLength characters; the card pads it and every PIN it is given with 00.
    velk::basic_allocated_string<char> value{"1234"};
    std::uint8_t maxTries = 3;  // 1 to 15
    std::uint8_t triesRemaining = 3;
    // The shortest new PIN that CHANGE REFERENCE DATA accepts.
    std::size_t minLength = 4;
};

struct KeySlot {
    RsaKey key;
    bool signing = true;
    bool deciphering = false;
};

// Everything a simulated card is made of. Edit a standard profile, then build the simulator.
struct CardProfile {
    ByteVector atr;
    // False: MANAGE CHANNEL is answered 6881.
    bool logicalChannelsSupported = true;
    // Channels the card has, the basic channel included (1 to MaxChannelCount); with 1, opening
    // a channel is answered 6A81.
    std::uint8_t channelCount = 4;
    bool appletPresent = true;
    PinSettings pin;
    std::map<std::uint8_t, KeySlot> keySlots;
    FileSystem files;
    // GET DATA 0100 answers these bytes; 0101 answers their first 8 (padded with 00) and the
    // model identifier.
    ByteVector serialNumber;
    std::array<std::uint8_t, 2> modelId{};
    // GET DATA 0105 answers them as a BIT STRING.
    std::vector<bool> capabilities;

    // A card of the given type with PIN "1234" (3 tries) on the type's PIN object, the test
    // credentials in slots 1 (signing), 2 (deciphering) and 3 (signing), and the standard PKCS#15
    // files.
    static CardProfile standard(CardType type = CardType::Gen3);
};

}  // namespace testsupport::cardsim
