#include "testsupport/fuzz/card_answers.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "sclib/exceptions.hpp"

namespace testsupport::fuzz {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Every answer the card gives until it counts as removed.
std::vector<Bytes> answersOf(Bytes const& input) {
    AnsweringCardIo card(input.data(), input.size());
    std::vector<Bytes> answers;
    unsigned char const command[] = {0x00, 0xA4, 0x04, 0x00};
    for (;;) {
        try {
            auto const answer = card.Transmit(command, sizeof(command));
            answers.emplace_back(answer.begin(), answer.end());
        } catch (sclib::NoSmartcardError const&) {
            return answers;
        }
    }
}

struct FramingCase {
    char const* name;
    Bytes input;
    std::vector<Bytes> answers;
};

class CardAnswersTest : public ::testing::TestWithParam<FramingCase> {};

TEST_P(CardAnswersTest, InputReadsAsTheseAnswers) {
    EXPECT_EQ(answersOf(GetParam().input), GetParam().answers);
}

INSTANTIATE_TEST_SUITE_P(
    Framing, CardAnswersTest,
    ::testing::Values(
        FramingCase{"Empty", {}, {}},
        FramingCase{"TwoAnswers",
                    {0x00, 0x02, 0x90, 0x00, 0x00, 0x03, 0x01, 0x6A, 0x82},
                    {{0x90, 0x00}, {0x01, 0x6A, 0x82}}},
        FramingCase{"EmptyAnswer", {0x00, 0x00, 0x00, 0x02, 0x90, 0x00}, {{}, {0x90, 0x00}}},
        FramingCase{"LengthPastTheEndTakesTheRest", {0x01, 0x00, 0x61, 0x10}, {{0x61, 0x10}}},
        FramingCase{"LoneLengthByteEndsTheCard", {0x00, 0x02, 0x90, 0x00, 0x00}, {{0x90, 0x00}}}),
    [](auto const& info) { return info.param.name; });

TEST(CardAnswersFramingTest, FramedAnswersReadBackUnchanged) {
    std::vector<Bytes> const answers{{0x90, 0x00}, {}, Bytes(258, 0xAB)};
    EXPECT_EQ(answersOf(frameAnswers(answers)), answers);
}

TEST(CardAnswersFramingTest, AnswerTooLongForItsPrefixIsRefused) {
    EXPECT_THROW(frameAnswers({Bytes(0x10000, 0x00)}), std::invalid_argument);
}

}  // namespace
}  // namespace testsupport::fuzz
