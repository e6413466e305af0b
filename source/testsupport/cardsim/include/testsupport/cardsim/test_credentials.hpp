#pragma once

#include <array>
#include <cstdint>

#include "testsupport/cardsim/byte_vector.hpp"
#include "testsupport/cardsim/rsa_key.hpp"

namespace testsupport::cardsim {

// The keys of slots 1 to 3 (authentication, confidentiality, signature) with certificates issued
// by a two-level test authority. Built once per process on first use, from fixed keys, so the
// certificates are the same in every run.
class TestCredentials {
public:
    static TestCredentials const& shared();

    // Slot 1, 2 or 3; throws std::out_of_range for any other.
    RsaKey const& key(std::uint8_t slot) const;
    ByteVector const& certificate(std::uint8_t slot) const;

    ByteVector const& rootCaCertificate() const { return rootCa_; }
    ByteVector const& issuingCaCertificate() const { return issuingCa_; }

private:
    TestCredentials();

    std::array<RsaKey, 3> keys_;
    ByteVector rootCa_;
    ByteVector issuingCa_;
    std::array<ByteVector, 3> certificates_;
};

}  // namespace testsupport::cardsim
