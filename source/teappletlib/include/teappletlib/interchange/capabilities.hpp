#pragma once

#include <vector>

namespace teappletlib::interchange {

// The card's capability bits; bit i is capability i. A bit beyond the stored length counts as
// clear, so sets of different lengths with the same set bits are equal.
class Capabilities {
public:
    Capabilities() = default;

    // A set of length n + 1 with only bit n set. Throws velk::InputError for a negative n.
    static Capabilities buildWithBitSet(int n);

    std::vector<bool> const& getBits() const noexcept { return bits_; }

    // Lengthen to the longer operand, then combine.
    Capabilities& operator|=(Capabilities const& other);
    Capabilities& operator^=(Capabilities const& other);
    // Shorten to the shorter operand, then combine.
    Capabilities& operator&=(Capabilities const& other);

    // True when any bit is set.
    explicit operator bool() const noexcept;
    bool operator!() const noexcept { return !static_cast<bool>(*this); }

    static Capabilities const Biometrics;
    static Capabilities const GndPrintScan;
    static Capabilities const GndIso;
    static Capabilities const PreciseBiometrics;
    static Capabilities const PivExtension;
    static Capabilities const ChallengeResponse;
    static Capabilities const NoLogicalChannels;
    static Capabilities const No2048BitKeys;
    static Capabilities const MinimumKeySize1024Bit;
    static Capabilities const No2Key3Des;
    static Capabilities const No3Key3Des;
    static Capabilities const NoWitnessChallengeResponse;
    static Capabilities const Aes128BitChallengeResponse;
    static Capabilities const NoOddApdu;
    static Capabilities const PinPolicyExtension;
    static Capabilities const Otp;
    static Capabilities const Sha2;
    static Capabilities const Digest;
    static Capabilities const ReadOnly;
    static Capabilities const ExtendedApduForSigning;
    static Capabilities const A006;
    static Capabilities const SecureMessagingOptional;
    static Capabilities const SecureMessagingSemiMandatory;
    static Capabilities const RawDes;
    static Capabilities const RawEcc;
    static Capabilities const Ecc384Bit;
    static Capabilities const Ecc512Bit;
    static Capabilities const EasWrappingUnwrapping;

private:
    std::vector<bool> bits_;
};

Capabilities operator|(Capabilities a, Capabilities const& b);
Capabilities operator&(Capabilities a, Capabilities const& b);
Capabilities operator^(Capabilities a, Capabilities const& b);

bool operator==(Capabilities const& a, Capabilities const& b);
inline bool operator!=(Capabilities const& a, Capabilities const& b) {
    return !(a == b);
}

}  // namespace teappletlib::interchange
