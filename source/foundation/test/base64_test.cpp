#include "velk/base64.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "velk/exceptions.hpp"

namespace {

using Bytes = std::basic_string<unsigned char>;

std::string decodeError(std::string const& text) {
    try {
        velk::base64Decode(text);
    } catch (velk::CodingError const& e) {
        return e.what();
    }
    return "no error";
}

TEST(Base64, EncodesWithPaddingAndNoLineBreaks) {
    EXPECT_EQ(velk::base64Encode(Bytes{}), "");
    EXPECT_EQ(velk::base64Encode(Bytes{0x41}), "QQ==");
    EXPECT_EQ(velk::base64Encode(Bytes{0x41, 0x42}), "QUI=");
    EXPECT_EQ(velk::base64Encode(Bytes{0x41, 0x42, 0x43}), "QUJD");
    EXPECT_EQ(velk::base64Encode(Bytes{0xFB, 0xFF}), "+/8=");
    EXPECT_EQ(velk::base64Encode(Bytes(100, 0x00)).find('\n'), std::string::npos);
}

TEST(Base64, EveryLengthAndByteValueSurvivesARoundTrip) {
    Bytes data;
    for (int n = 0; n < 300; ++n) {
        std::string const text = velk::base64Encode(data);
        EXPECT_EQ(text.size() % 4, 0U);
        if (!data.empty()) {
            EXPECT_EQ(velk::base64Decode(text), data) << n;
        }
        data.push_back(static_cast<unsigned char>(n * 37 + 11));
    }
}

TEST(Base64, DecodesPaddedText) {
    EXPECT_EQ(velk::base64Decode("QUI="), (Bytes{0x41, 0x42}));
    EXPECT_EQ(velk::base64Decode("QQ=="), (Bytes{0x41}));
    EXPECT_EQ(velk::base64Decode("QUJD"), (Bytes{0x41, 0x42, 0x43}));
}

TEST(Base64, PadBeforeTheLastDataCharacterReadsAsZero) {
    EXPECT_EQ(velk::base64Decode("QQ=Q"), velk::base64Decode("QQAQ"));
}

TEST(Base64, RejectsLengthsThatAreNotAMultipleOfFourFirst) {
    EXPECT_EQ(decodeError("abc"), "base64 string not a multiple of 4 in length");
    EXPECT_EQ(decodeError("QQ="), "base64 string not a multiple of 4 in length");
    EXPECT_EQ(decodeError("*"), "base64 string not a multiple of 4 in length");
}

TEST(Base64, RejectsEmptyAllPaddingAndBadCharacters) {
    for (std::string const& text : std::vector<std::string>{"", "====", "Q===", "QQQQQ===", "QQ Q",
                                                            "QQ\nQ", "QQ-Q", "QQ\xC3\xA9"}) {
        EXPECT_EQ(decodeError(text), "Incorrect base64 string") << text;
    }
}

}  // namespace
