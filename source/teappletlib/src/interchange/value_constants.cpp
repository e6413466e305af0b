// The constants of the value types, built here in one place so that their order of construction
// is fixed: the MF path before the path variant that copies it.

#include "teappletlib/interchange/absolute_fid.hpp"
#include "teappletlib/interchange/absolute_path.hpp"
#include "teappletlib/interchange/acl.hpp"
#include "teappletlib/interchange/capabilities.hpp"

namespace teappletlib::interchange {

AbsoluteFid const AbsoluteFid::Mf{};
AbsolutePath const AbsolutePath::Mf{AbsoluteFid::Mf};
Acl const Acl::Anybody{};

Capabilities const Capabilities::Biometrics = buildWithBitSet(0);
Capabilities const Capabilities::GndPrintScan = buildWithBitSet(1);
Capabilities const Capabilities::GndIso = buildWithBitSet(2);
Capabilities const Capabilities::PreciseBiometrics = buildWithBitSet(3);
Capabilities const Capabilities::PivExtension = buildWithBitSet(4);
Capabilities const Capabilities::ChallengeResponse = buildWithBitSet(5);
Capabilities const Capabilities::NoLogicalChannels = buildWithBitSet(6);
Capabilities const Capabilities::No2048BitKeys = buildWithBitSet(7);
Capabilities const Capabilities::MinimumKeySize1024Bit = buildWithBitSet(8);
Capabilities const Capabilities::No2Key3Des = buildWithBitSet(9);
Capabilities const Capabilities::No3Key3Des = buildWithBitSet(10);
Capabilities const Capabilities::NoWitnessChallengeResponse = buildWithBitSet(11);
Capabilities const Capabilities::Aes128BitChallengeResponse = buildWithBitSet(12);
Capabilities const Capabilities::NoOddApdu = buildWithBitSet(13);
Capabilities const Capabilities::PinPolicyExtension = buildWithBitSet(14);
Capabilities const Capabilities::Otp = buildWithBitSet(15);
Capabilities const Capabilities::Sha2 = buildWithBitSet(16);
Capabilities const Capabilities::Digest = buildWithBitSet(17);
Capabilities const Capabilities::ReadOnly = buildWithBitSet(18);
Capabilities const Capabilities::ExtendedApduForSigning = buildWithBitSet(19);
Capabilities const Capabilities::A006 = buildWithBitSet(20);
Capabilities const Capabilities::SecureMessagingOptional = buildWithBitSet(21);
Capabilities const Capabilities::SecureMessagingSemiMandatory = buildWithBitSet(22);
Capabilities const Capabilities::RawDes = buildWithBitSet(23);
Capabilities const Capabilities::RawEcc = buildWithBitSet(24);
Capabilities const Capabilities::Ecc384Bit = buildWithBitSet(25);
Capabilities const Capabilities::Ecc512Bit = buildWithBitSet(26);
Capabilities const Capabilities::EasWrappingUnwrapping = buildWithBitSet(27);

}  // namespace teappletlib::interchange
