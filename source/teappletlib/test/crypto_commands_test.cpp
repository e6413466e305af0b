#include "teappletlib/interchange/cmd/impl/apdu/crypto_commands.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "command_cases.hpp"
#include "hex_text.hpp"
#include "testsupport/scripted_card.hpp"

namespace teappletlib::interchange::cmd {
namespace {

using test::hexText;
using testsupport::Bytes;
using testsupport::ScriptedCard;
using Call = std::function<std::string(CryptoCommands&)>;

std::string text(KeyId id) {
    return "key " + std::to_string(id.GetValue());
}
std::string text(bool value) {
    return value ? "true" : "false";
}
std::string text(boost::optional<Bytes> const& bytes) {
    return bytes ? hexText(*bytes) : "none";
}

KeyControlFlags const Flags01 = static_cast<KeyControlFlags>(0x01);
Acl const RuleOf2{AclOr{AclAnd{AuthObjectId{2}}}};

Call const CreateRsaSlot = [](CryptoCommands& c) {
    return text(c.createKeySlot(AsymAlg::Rsa, 2048, Flags01, Acl::Anybody, Acl::Anybody, true));
};
Call const CreateOtherSlotWithoutFlag = [](CryptoCommands& c) {
    return text(c.createKeySlot(AsymAlg::Other, 1024, Flags01, Acl::Anybody, RuleOf2, false));
};
Call const GenerateOther = [](CryptoCommands& c) {
    c.generateKeyPair(AsymAlg::Other, KeyId{3});
    return std::string("done");
};
Call const GenerateRsa = [](CryptoCommands& c) {
    c.generateKeyPair(AsymAlg::Rsa, KeyId{1});
    return std::string("done");
};
Call const UnwrapRsa = [](CryptoCommands& c) {
    return text(c.unwrapPrivateKey(AsymAlg::Rsa, Flags01, Acl::Anybody, Acl::Anybody));
};
Call const UnwrapRsaWithFlag = [](CryptoCommands& c) {
    return text(c.unwrapPrivateKey(AsymAlg::Rsa, Flags01, Acl::Anybody, Acl::Anybody, true));
};
Call const UnwrapOtherWithoutFlag = [](CryptoCommands& c) {
    return text(c.unwrapPrivateKey(AsymAlg::Other, Flags01, Acl::Anybody, Acl::Anybody, false));
};
Call deleteKey(KeyPart part) {
    return [=](CryptoCommands& c) { return text(c.deleteKey(KeyId{2}, part)); };
}
Call const ReadModulus = [](CryptoCommands& c) {
    return text(c.readComponent(RsaComponent::Modulus, KeyId{1}, 256));
};
Call const ReadExponent = [](CryptoCommands& c) {
    return text(c.readComponent(RsaComponent::PublicExponent, KeyId{3}, 4));
};
Call const SignEnvironment = [](CryptoCommands& c) {
    c.manageSecEnvSign(HashAlg::NoHash, KeyId{1});
    return std::string("done");
};
Call const DecryptEnvironment = [](CryptoCommands& c) {
    c.manageSecEnvDecrypt(DecryptAlg::Ref02, KeyId{2});
    return std::string("done");
};
Call const DecryptEnvironmentRef00 = [](CryptoCommands& c) {
    c.manageSecEnvDecrypt(DecryptAlg::Ref00, KeyId{2});
    return std::string("done");
};
Call const Sign256 = [](CryptoCommands& c) { return hexText(c.computeSignature(256, 256)); };
Call const Decrypt128 = [](CryptoCommands& c) { return hexText(c.computeDecrypt(0x80, 128)); };
Call const UnwrapSecret = [](CryptoCommands& c) {
    c.unwrapSecretKey(KeyId{4}, 0, 0x123);
    return std::string("done");
};

Bytes const CreateRsaSlotApdu{0x80, 0x38, 0x00, 0x00, 0x0F, 0x20, 0x02, 0x08, 0x00, 0x21, 0x01,
                              0x01, 0x06, 0x02, 0x01, 0x00, 0x07, 0x02, 0x01, 0x00, 0x01};
Bytes const CreateOtherSlotApdu{0x80, 0x38, 0x02, 0x00, 0x14, 0x20, 0x02, 0x04, 0x00,
                                0x21, 0x01, 0x01, 0x22, 0x00, 0x06, 0x02, 0x01, 0x00,
                                0x07, 0x05, 0x01, 0x03, 0x02, 0x01, 0x02, 0x01};
Bytes const GenerateOtherApdu{0x00, 0x46, 0x84, 0x03};
Bytes const UnwrapRsaApdu{0x80, 0x3C, 0x02, 0x00, 0x0B, 0x21, 0x01, 0x01, 0x06,
                          0x02, 0x01, 0x00, 0x07, 0x02, 0x01, 0x00, 0x01};
Bytes const DeleteBothApdu{0x80, 0x39, 0x00, 0x02};
Bytes const ReadModulusApdu{0x80, 0x3A, 0x01, 0x01, 0x00};
Bytes const SignEnvironmentApdu{0x00, 0x22, 0x41, 0xB6, 0x06, 0x84, 0x01, 0x01, 0x80, 0x01, 0x02};
Bytes const DecryptEnvironmentApdu{0x00, 0x22, 0x41, 0xB8, 0x06, 0x84,
                                   0x01, 0x02, 0x80, 0x01, 0x02};
Bytes const Sign256Apdu{0x80, 0x2A, 0x9E, 0x9A, 0x04, 0x00, 0x00, 0x01, 0x00, 0x00};
Bytes const Decrypt128Apdu{0x80, 0x2A, 0x80, 0x86, 0x04, 0x00, 0x00, 0x00, 0x80, 0x80};
Bytes const UnwrapSecretApdu{0x80, 0x3C, 0x00, 0x04, 0x04, 0x00, 0x00, 0x01, 0x23};

using ExchangeCase = test::ExchangeCase<CryptoCommands>;
using RefusalCase = test::RefusalCase<CryptoCommands>;

class CryptoExchange : public ::testing::TestWithParam<ExchangeCase> {};

TEST_P(CryptoExchange, SendsTheCommandOnceAndReadsItsAnswer) {
    EXPECT_EQ(GetParam().expected, test::exchangeOutcome<impl::apdu::CryptoCommands>(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(
    Commands, CryptoExchange,
    ::testing::Values(
        ExchangeCase{"CreateKeySlotReturnsNewId",
                     CreateRsaSlot,
                     CreateRsaSlotApdu,
                     {0x05, 0x90, 0x00},
                     "key 5"},
        ExchangeCase{"CreateKeySlotWithoutFlagAddsTag22",
                     CreateOtherSlotWithoutFlag,
                     CreateOtherSlotApdu,
                     {0x06, 0x90, 0x00},
                     "key 6"},
        ExchangeCase{"CreateKeySlotLargestKeySize",
                     [](CryptoCommands& c) {
                         return text(c.createKeySlot(AsymAlg::Rsa, 0xFFFF, Flags01, Acl::Anybody,
                                                     Acl::Anybody, true));
                     },
                     {0x80, 0x38, 0x00, 0x00, 0x0F, 0x20, 0x02, 0xFF, 0xFF, 0x21, 0x01,
                      0x01, 0x06, 0x02, 0x01, 0x00, 0x07, 0x02, 0x01, 0x00, 0x01},
                     {0x05, 0x90, 0x00},
                     "key 5"},
        ExchangeCase{"CreateKeySlotWithoutId",
                     CreateRsaSlot,
                     CreateRsaSlotApdu,
                     {0x90, 0x00},
                     "ResponseError: Incorrect response length"},
        ExchangeCase{"CreateKeySlotUnsupported",
                     CreateRsaSlot,
                     CreateRsaSlotApdu,
                     {0x6A, 0x81},
                     "AlgorithmUnsupported: Asymmetric algorithm not supported by token"},
        ExchangeCase{"CreateKeySlotWrongLength",
                     CreateRsaSlot,
                     CreateRsaSlotApdu,
                     {0x67, 0x00},
                     "WrongLength: Data length is incorrect"},

        ExchangeCase{
            "GenerateKeyPairOther", GenerateOther, GenerateOtherApdu, {0x90, 0x00}, "done"},
        ExchangeCase{
            "GenerateKeyPairRsa", GenerateRsa, {0x00, 0x46, 0x00, 0x01}, {0x90, 0x00}, "done"},
        ExchangeCase{"GenerateKeyPairUnsupported",
                     GenerateOther,
                     GenerateOtherApdu,
                     {0x6A, 0x81},
                     "AlgorithmUnsupported: Asymmetric algorithm not supported by token"},
        ExchangeCase{"GenerateKeyPairNotAllowed",
                     GenerateOther,
                     GenerateOtherApdu,
                     {0x69, 0x82},
                     "SecurityCondNotSatisfied: Security condition not satisfied"},

        ExchangeCase{"UnwrapPrivateKeyDefaultsToFlag",
                     UnwrapRsa,
                     UnwrapRsaApdu,
                     {0x03, 0x90, 0x00},
                     "key 3"},
        ExchangeCase{"UnwrapPrivateKeyWithFlag",
                     UnwrapRsaWithFlag,
                     UnwrapRsaApdu,
                     {0x03, 0x90, 0x00},
                     "key 3"},
        ExchangeCase{"UnwrapPrivateKeyWithoutFlag",
                     UnwrapOtherWithoutFlag,
                     {0x80, 0x3C, 0x08, 0x00, 0x0D, 0x21, 0x01, 0x01, 0x22, 0x00, 0x06, 0x02, 0x01,
                      0x00, 0x07, 0x02, 0x01, 0x00, 0x01},
                     {0x04, 0x90, 0x00},
                     "key 4"},
        ExchangeCase{"UnwrapPrivateKeyWithoutId",
                     UnwrapRsa,
                     UnwrapRsaApdu,
                     {0x90, 0x00},
                     "ResponseError: Incorrect response length"},
        ExchangeCase{"UnwrapPrivateKeyUnsupported",
                     UnwrapRsa,
                     UnwrapRsaApdu,
                     {0x6A, 0x81},
                     "AlgorithmUnsupported: Asymmetric algorithm not supported by token"},

        ExchangeCase{
            "DeleteBothParts", deleteKey(KeyPart::Both), DeleteBothApdu, {0x90, 0x00}, "true"},
        ExchangeCase{"DeleteFirstPart",
                     deleteKey(KeyPart::First),
                     {0x80, 0x39, 0x02, 0x02},
                     {0x90, 0x00},
                     "true"},
        ExchangeCase{"DeleteSecondPart",
                     deleteKey(KeyPart::Second),
                     {0x80, 0x39, 0x01, 0x02},
                     {0x90, 0x00},
                     "true"},
        ExchangeCase{
            "DeleteKeyNotAllowed", deleteKey(KeyPart::Both), DeleteBothApdu, {0x69, 0x82}, "false"},
        ExchangeCase{"DeleteKeyNotFound",
                     deleteKey(KeyPart::Both),
                     DeleteBothApdu,
                     {0x6A, 0x82},
                     "RefDataNotFound: Key ID not found"},
        ExchangeCase{"DeleteKeyOtherWord",
                     deleteKey(KeyPart::Both),
                     DeleteBothApdu,
                     {0x6A, 0x88},
                     "RefDataNotFound: Referenced object not found"},
        ExchangeCase{"DeleteKeyPinPolicy",
                     deleteKey(KeyPart::Both),
                     DeleteBothApdu,
                     {0x64, 0x00},
                     "PinPolicyError: PIN policy check failed"},

        ExchangeCase{"ReadModulus",
                     ReadModulus,
                     ReadModulusApdu,
                     {0xC1, 0x02, 0x03, 0x90, 0x00},
                     "c1 02 03"},
        ExchangeCase{
            "ReadEmptyComponentIsStillAnAnswer", ReadModulus, ReadModulusApdu, {0x90, 0x00}, ""},
        ExchangeCase{
            "ReadComponentOfEmptySlot", ReadModulus, ReadModulusApdu, {0x6A, 0x88}, "none"},
        ExchangeCase{"ReadExponent",
                     ReadExponent,
                     {0x80, 0x3A, 0x03, 0x02, 0x04},
                     {0x01, 0x00, 0x01, 0x90, 0x00},
                     "01 00 01"},
        ExchangeCase{"ReadComponentNotAllowed",
                     ReadModulus,
                     ReadModulusApdu,
                     {0x69, 0x82},
                     "SecurityCondNotSatisfied: Security condition not satisfied"},

        ExchangeCase{"SignEnvironment", SignEnvironment, SignEnvironmentApdu, {0x90, 0x00}, "done"},
        ExchangeCase{"SignEnvironmentUnsupported6984",
                     SignEnvironment,
                     SignEnvironmentApdu,
                     {0x69, 0x84},
                     "AlgorithmUnsupported: Hashing algorithm not supported by token"},
        ExchangeCase{"SignEnvironmentUnsupported6A81",
                     SignEnvironment,
                     SignEnvironmentApdu,
                     {0x6A, 0x81},
                     "AlgorithmUnsupported: Hashing algorithm not supported by token"},
        ExchangeCase{"SignEnvironmentKeyRestricted",
                     SignEnvironment,
                     SignEnvironmentApdu,
                     {0x69, 0x88},
                     "FeatureRestricted: The key could not be used for the selected operation"},
        ExchangeCase{"SignEnvironmentWrongLength",
                     SignEnvironment,
                     SignEnvironmentApdu,
                     {0x67, 0x81},
                     "WrongLength: Data length is incorrect"},

        ExchangeCase{
            "DecryptEnvironment", DecryptEnvironment, DecryptEnvironmentApdu, {0x90, 0x00}, "done"},
        ExchangeCase{"DecryptEnvironmentRef00",
                     DecryptEnvironmentRef00,
                     {0x00, 0x22, 0x41, 0xB8, 0x06, 0x84, 0x01, 0x02, 0x80, 0x01, 0x00},
                     {0x90, 0x00},
                     "done"},
        ExchangeCase{"DecryptEnvironmentUnsupported6984",
                     DecryptEnvironment,
                     DecryptEnvironmentApdu,
                     {0x69, 0x84},
                     "AlgorithmUnsupported: Decryption algorithm not supported by token"},
        ExchangeCase{"DecryptEnvironmentUnsupported6A81",
                     DecryptEnvironment,
                     DecryptEnvironmentApdu,
                     {0x6A, 0x81},
                     "AlgorithmUnsupported: Decryption algorithm not supported by token"},
        ExchangeCase{"DecryptEnvironmentKeyRestricted",
                     DecryptEnvironment,
                     DecryptEnvironmentApdu,
                     {0x69, 0x88},
                     "FeatureRestricted: The key could not be used for the selected operation"},

        ExchangeCase{"ComputeSignature", Sign256, Sign256Apdu, {0x5A, 0xA5, 0x90, 0x00}, "5a a5"},
        ExchangeCase{"ComputeSignatureKeyRestricted",
                     Sign256,
                     Sign256Apdu,
                     {0x69, 0x88},
                     "FeatureRestricted: The key could not be used for the selected operation"},
        ExchangeCase{"ComputeSignatureNotAllowed",
                     Sign256,
                     Sign256Apdu,
                     {0x69, 0x82},
                     "SecurityCondNotSatisfied: Security condition not satisfied"},
        ExchangeCase{
            "ComputeDecrypt", Decrypt128, Decrypt128Apdu, {0x31, 0x32, 0x90, 0x00}, "31 32"},
        ExchangeCase{"ComputeDecryptKeyRestricted",
                     Decrypt128,
                     Decrypt128Apdu,
                     {0x69, 0x88},
                     "FeatureRestricted: The key could not be used for the selected operation"},

        ExchangeCase{"UnwrapSecretKey", UnwrapSecret, UnwrapSecretApdu, {0x90, 0x00}, "done"},
        ExchangeCase{"UnwrapSecretKeyWrongData",
                     UnwrapSecret,
                     UnwrapSecretApdu,
                     {0x6A, 0x80},
                     "WrongData: The specified data was incorrect"},
        ExchangeCase{"UnwrapSecretKeyPinPolicy",
                     UnwrapSecret,
                     UnwrapSecretApdu,
                     {0x64, 0x81},
                     "PinPolicyError: PIN policy check failed"}),
    test::CaseName());

TEST(CryptoCommands, EveryHashAlgorithmHasItsReference) {
    std::vector<std::pair<HashAlg, unsigned char>> const references{
        {HashAlg::NoHash, 0x02}, {HashAlg::Ref12, 0x12}, {HashAlg::Ref32, 0x32},
        {HashAlg::Ref42, 0x42},  {HashAlg::Ref52, 0x52}, {HashAlg::Ref62, 0x62}};
    ScriptedCard card;
    for (auto const& [alg, reference] : references) {
        card.expect({0x00, 0x22, 0x41, 0xB6, 0x06, 0x84, 0x01, 0x07, 0x80, 0x01, reference})
            .answer({0x90, 0x00});
    }
    impl::apdu::CryptoCommands commands(card.transmit());
    for (auto const& reference : references) {
        commands.manageSecEnvSign(reference.first, KeyId{7});
    }
    EXPECT_EQ(0u, card.remaining());
}

class CryptoRefusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(CryptoRefusal, SendsNothing) {
    EXPECT_EQ(GetParam().expected, test::refusalOutcome<impl::apdu::CryptoCommands>(GetParam()));
}

template <class Enum>
Enum raw(std::uint32_t value) {
    return static_cast<Enum>(value);
}

// 0xFFFFFFFF is what a negative value would become: it must not index a table either.
INSTANTIATE_TEST_SUITE_P(
    Arguments, CryptoRefusal,
    ::testing::Values(
        RefusalCase{"CreateKeySlotUnknownAlgorithm",
                    [](CryptoCommands& c) {
                        return text(c.createKeySlot(raw<AsymAlg>(2), 2048, Flags01, Acl::Anybody,
                                                    Acl::Anybody, true));
                    },
                    "AlgorithmUnsupported: Asymmetric algorithm unsupported"},
        RefusalCase{"CreateKeySlotNegativeAlgorithm",
                    [](CryptoCommands& c) {
                        return text(c.createKeySlot(raw<AsymAlg>(0xFFFFFFFF), 2048, Flags01,
                                                    Acl::Anybody, Acl::Anybody, true));
                    },
                    "AlgorithmUnsupported: Asymmetric algorithm unsupported"},
        RefusalCase{"CreateKeySlotSizeBeyondTwoBytes",
                    [](CryptoCommands& c) {
                        return text(c.createKeySlot(AsymAlg::Rsa, 0x10800, Flags01, Acl::Anybody,
                                                    Acl::Anybody, true));
                    },
                    "InputError: Key size too large"},
        RefusalCase{"GenerateKeyPairUnknownAlgorithm",
                    [](CryptoCommands& c) {
                        c.generateKeyPair(raw<AsymAlg>(2), KeyId{1});
                        return std::string("sent");
                    },
                    "AlgorithmUnsupported: Asymmetric algorithm unsupported"},
        RefusalCase{"UnwrapPrivateKeyUnknownAlgorithm",
                    [](CryptoCommands& c) {
                        return text(c.unwrapPrivateKey(raw<AsymAlg>(0xFFFFFFFF), Flags01,
                                                       Acl::Anybody, Acl::Anybody));
                    },
                    "AlgorithmUnsupported: Asymmetric algorithm not supported"},
        RefusalCase{"DeleteKeyPartZero", deleteKey(raw<KeyPart>(0)),
                    "InputError: Incorrect or unsupported key part specified"},
        RefusalCase{"DeleteKeyPartFour", deleteKey(raw<KeyPart>(4)),
                    "InputError: Incorrect or unsupported key part specified"},
        RefusalCase{"DeleteKeyNegativePart", deleteKey(raw<KeyPart>(0xFFFFFFFF)),
                    "InputError: Incorrect or unsupported key part specified"},
        RefusalCase{"ReadUnknownComponent",
                    [](CryptoCommands& c) {
                        return text(c.readComponent(raw<RsaComponent>(3), KeyId{1}, 256));
                    },
                    "InputError: Incorrect or unsupported RSA component specified"},
        RefusalCase{"ReadComponentZero",
                    [](CryptoCommands& c) {
                        return text(c.readComponent(raw<RsaComponent>(0), KeyId{1}, 256));
                    },
                    "InputError: Incorrect or unsupported RSA component specified"},
        RefusalCase{"SignEnvironmentHashSix",
                    [](CryptoCommands& c) {
                        c.manageSecEnvSign(raw<HashAlg>(6), KeyId{1});
                        return std::string("sent");
                    },
                    "AlgorithmUnsupported: Hash Algorithm unsupported"},
        RefusalCase{"SignEnvironmentNegativeHash",
                    [](CryptoCommands& c) {
                        c.manageSecEnvSign(raw<HashAlg>(0xFFFFFFFF), KeyId{1});
                        return std::string("sent");
                    },
                    "AlgorithmUnsupported: Hash Algorithm unsupported"},
        RefusalCase{"DecryptEnvironmentUnknownAlgorithm",
                    [](CryptoCommands& c) {
                        c.manageSecEnvDecrypt(raw<DecryptAlg>(2), KeyId{1});
                        return std::string("sent");
                    },
                    "AlgorithmUnsupported: Decryption algorithm unsupported"},
        RefusalCase{"DecryptEnvironmentNegativeAlgorithm",
                    [](CryptoCommands& c) {
                        c.manageSecEnvDecrypt(raw<DecryptAlg>(0xFFFFFFFF), KeyId{1});
                        return std::string("sent");
                    },
                    "AlgorithmUnsupported: Decryption algorithm unsupported"}),
    test::CaseName());

// A length past 32 bits must not wrap into a small Le.
TEST(CryptoCommands, ExpectedLengthBeyondTheApduModelIsRefusedUnsent) {
    ScriptedCard card;
    impl::apdu::CryptoCommands commands(card.transmit());
    EXPECT_THROW(commands.computeSignature(256, 0x100000001UL), velk::secure_elt_err::WrongLength);
}

TEST(CryptoCommands, MaxExpectedLengthIsTheChainsAndSendsNothing) {
    ScriptedCard card;
    impl::apdu::CryptoCommands commands(card.transmit());
    EXPECT_EQ(256u, commands.getMaxExpectedLength());
}

TEST(CryptoCommands, TransmissionErrorPropagatesUnchanged) {
    ScriptedCard card;
    card.expect(DeleteBothApdu).fail(velk::CommunicationError("reader gone"));
    impl::apdu::CryptoCommands commands(card.transmit());
    EXPECT_THROW(commands.deleteKey(KeyId{2}, KeyPart::Both), velk::CommunicationError);
}

}  // namespace
}  // namespace teappletlib::interchange::cmd
