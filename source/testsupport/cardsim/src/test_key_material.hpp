#pragma once

namespace testsupport::cardsim::detail {

// PEM texts of the keys in slots 1 to 3 and of the two certification authorities.
extern char const* const AuthenticationKeyPem;
extern char const* const ConfidentialityKeyPem;
extern char const* const SignatureKeyPem;
extern char const* const RootCaKeyPem;
extern char const* const IssuingCaKeyPem;

}  // namespace testsupport::cardsim::detail
