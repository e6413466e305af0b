// Seeded random and mutated input through every reader: card data is never trusted, so no byte
// sequence may make a reader throw, read out of bounds or break its own invariants.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "der/der_bit_string.hpp"
#include "der/der_boolean.hpp"
#include "der/der_integer.hpp"
#include "der/der_iterator.hpp"
#include "der/der_oid.hpp"

namespace {

using Bytes = std::basic_string<unsigned char>;

Bytes const Corpus[] = {
    // Certificate directory entry: label, class attributes, [1] { SEQ { Path } }.
    {0x30, 0x27, 0x30, 0x06, 0x0C, 0x04, 'A',  'u',  't',  'h',  0x30, 0x03, 0x04, 0x01,
     0x45, 0xA1, 0x18, 0x30, 0x16, 0x30, 0x11, 0x04, 0x08, 0x3F, 0x00, 0x50, 0x15, 0x43,
     0x02, 0xC0, 0x01, 0x02, 0x01, 0x00, 0x80, 0x02, 0x05, 0x00, 0x30, 0x01, 0x00},
    // Token info with manufacturer and label.
    {0x30, 0x10, 0x02, 0x01, 0x00, 0x04, 0x02, 0x12, 0x34, 0x0C, 0x01, 0x41, 0x80, 0x04, 0x54, 0x65,
     0x73, 0x74},
    // Primitives, a long length form and a high tag number.
    {0x02, 0x02, 0x00, 0x80, 0x01, 0x01, 0xFF, 0x03, 0x03, 0x01, 0x12, 0x34, 0x06, 0x03,
     0x88, 0x37, 0x03, 0x04, 0x81, 0x02, 0xAA, 0xBB, 0x9F, 0x1F, 0x01, 0x00, 0x00, 0x00},
};

std::string const PathTokens[] = {"!SEQ", "?SEQ", "!INT", "?INT", "!OCT", "?UT8", "!ANY",
                                  "?ANY", "?CC0", "!CC1", "!CP0", "{",    "0",    "1",
                                  "F",    "!",    "?X",   "!SE",  "!CX1", "a"};

char const* const Pkcs15Paths[] = {"!SEQ{!SEQ{?UT8",    "!SEQ{!SEQ!SEQ?CC0!CC1{!SEQ{!SEQ",
                                   "!SEQ{!OCT",         "!SEQ{!OCT?INT",
                                   "!SEQ{!OCT?INT?CP0", "!SEQ{!INT!OCT?UT8!CP0{"};

unsigned char const Interesting[] = {0x00, 0x01, 0x1F, 0x30, 0x7F, 0x80, 0x81, 0x82, 0x83, 0xFF};

class Fuzzer {
public:
    Bytes Input() {
        if (Pick(4) == 0) {
            Bytes random(Pick(64), 0);
            for (auto& b : random) {
                b = static_cast<unsigned char>(Pick(256));
            }
            return random;
        }
        Bytes input = Corpus[Pick(std::size(Corpus))];
        for (std::size_t n = Pick(4) + 1; n > 0 && !input.empty(); --n) {
            std::size_t const at = Pick(input.size());
            switch (Pick(4)) {
                case 0:
                    input[at] = Interesting[Pick(std::size(Interesting))];
                    break;
                case 1:
                    input[at] = static_cast<unsigned char>(Pick(256));
                    break;
                case 2:
                    input.resize(at);
                    break;
                default:
                    input.insert(at, 1, static_cast<unsigned char>(Pick(256)));
                    break;
            }
        }
        return input;
    }

    std::string Path() {
        std::string path;
        for (std::size_t n = Pick(7); n > 0; --n) {
            path += PathTokens[Pick(std::size(PathTokens))];
        }
        return path;
    }

private:
    std::size_t Pick(std::size_t bound) {
        return std::uniform_int_distribution<std::size_t>(0, bound - 1)(rng_);
    }

    std::mt19937 rng_{20240611};
};

void CheckElement(CDerString const& der, std::size_t size) {
    unsigned long const derLen = der.DerLen();
    ASSERT_LE(derLen, size);
    ASSERT_EQ(der.Val().size(), der.Len());
    ASSERT_TRUE(derLen == 0 || derLen >= der.Len() + 2);
    ASSERT_EQ(der.IsValConsistent(), derLen != 0 && derLen == size);
    ASSERT_TRUE(der.IsValComplete());
    (void)der.RawTag();
    (void)der.Tag();
}

void CheckPrimitives(CDerString const& der) {
    if (IntDecodeOK(der) && der.Len() > 0) {
        ASSERT_EQ(IntDecode(der, 0), IntDecode(der, 1));
    }
    (void)UnsignedDecode(der, 0);
    (void)UnsignedDecode(der);
    (void)BoolDecode(der, false);
    (void)BitStringToChar(der, 0);
    (void)BitStringToShort(der, 0);
    std::vector<unsigned char> flags(40, 0xEE);
    BitStringDecodeValue(der.Val(), static_cast<int>(flags.size()), flags.data());
    for (unsigned char flag : flags) {
        ASSERT_LE(flag, 1);
    }
    std::string text;
    if (OidToString(der.Val(), text)) {
        Bytes reencoded;
        ASSERT_TRUE(StringToOid(text.c_str(), reencoded)) << text;
        std::string again;
        ASSERT_TRUE(OidToString(reencoded, again));
        ASSERT_EQ(again, text);
    }
}

void CheckWalk(CDerIterator const& it, Bytes const& input) {
    unsigned long const count = it.NumDers();
    unsigned long pos = 0;
    for (unsigned long i = 0; i < count; ++i) {
        unsigned long const start = pos;
        CDerString const element = it.GetNextDer(pos);
        ASSERT_TRUE(element.IsValConsistent());
        ASSERT_EQ(pos - start, element.DerLen());
        ASSERT_EQ(Bytes(element), Bytes(it.GetDer(i)));
        ASSERT_NO_FATAL_FAILURE(CheckPrimitives(element));
    }
    ASSERT_LE(pos, input.size());
    unsigned long const end = pos;
    ASSERT_EQ(Bytes(it.GetNextDer(pos)), Bytes{});
    ASSERT_EQ(pos, end);
}

void CheckSlice(CDerIterator const& it, std::string const& path, std::size_t size) {
    bool ok = false;
    Bytes const slice = it.Slice(path, ok);
    ASSERT_TRUE(ok || slice.empty()) << path;
    ASSERT_LE(slice.size(), size) << path;
    Bytes const value = it.SliceValue(path, ok);
    ASSERT_TRUE(ok || value.empty()) << path;
}

TEST(DerFuzzTest, ArbitraryBytesNeverBreakTheReaders) {
    Fuzzer fuzzer;
    for (int iteration = 0; iteration < 4000; ++iteration) {
        SCOPED_TRACE(iteration);
        Bytes const input = fuzzer.Input();
        CDerString const der(input);
        ASSERT_NO_FATAL_FAILURE(CheckElement(der, input.size()));
        ASSERT_NO_FATAL_FAILURE(CheckPrimitives(der));
        CDerIterator const it(input);
        ASSERT_NO_FATAL_FAILURE(CheckWalk(it, input));
        for (char const* path : Pkcs15Paths) {
            ASSERT_NO_FATAL_FAILURE(CheckSlice(it, path, input.size()));
        }
        ASSERT_NO_FATAL_FAILURE(CheckSlice(it, fuzzer.Path(), input.size()));
    }
}

}  // namespace
