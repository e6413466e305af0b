// A recorded seed is only worth its bytes if the fuzzer, fed it, walks the exchange that was
// recorded: the same commands in the same order, no more and no fewer.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "applet_commands_scenario.hpp"
#include "iso_commands_scenario.hpp"
#include "simulator_recording.hpp"
#include "testsupport/fuzz/card_answers.hpp"

namespace testsupport::fuzz::seeds {
namespace {

// Keeps the commands that pass through to the card below.
class CommandLog : public iso7816::interchange::CardIo {
public:
    explicit CommandLog(iso7816::interchange::CardIo& card) : card_(card) {}

    using CardIo::Transmit;
    velk::basic_allocated_string<unsigned char> Transmit(unsigned char const* data,
                                                         std::size_t length) override {
        commands.emplace_back(data, data + length);
        return card_.Transmit(data, length);
    }

    std::vector<Seed> commands;

private:
    iso7816::interchange::CardIo& card_;
};

void runIso(iso7816::interchange::CardIo& card) {
    iso7816::fuzz::runIsoCommands(card);
}

struct ScenarioCase {
    char const* name;
    CardScenario scenario;
};

class SeedReplayTest : public ::testing::TestWithParam<ScenarioCase> {};

TEST_P(SeedReplayTest, ReplayedSeedSendsTheRecordedCommands) {
    for (auto const& card : recordedCards()) {
        SCOPED_TRACE(card.name);
        auto const recording = record(card, GetParam().scenario);
        ASSERT_FALSE(recording.commands.empty());
        auto const seed = frameAnswers(recording.answers);
        AnsweringCardIo replay(seed.data(), seed.size());
        CommandLog log(replay);
        GetParam().scenario(log);
        EXPECT_EQ(log.commands, recording.commands);
    }
}

INSTANTIATE_TEST_SUITE_P(Scenarios, SeedReplayTest,
                         ::testing::Values(ScenarioCase{"IsoCommands", &runIso},
                                           ScenarioCase{"AppletCommands",
                                                        &teappletlib::fuzz::runAppletCommands}),
                         [](auto const& info) { return info.param.name; });

}  // namespace
}  // namespace testsupport::fuzz::seeds
