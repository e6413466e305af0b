#pragma once

#include <functional>
#include <vector>

#include "iso7816/interchange/card_io.hpp"
#include "seed_registry.hpp"
#include "testsupport/cardsim/card_profile.hpp"
#include "testsupport/cardsim/card_simulator.hpp"

namespace testsupport::fuzz::seeds {

using CardScenario = std::function<void(iso7816::interchange::CardIo& card)>;
using Arrange = std::function<void(cardsim::CardSimulator& card)>;

// A card the seeds are recorded on, and faults armed on it before the scenario runs.
struct RecordedCard {
    char const* name;
    cardsim::CardProfile profile;
    Arrange arrange;
};

// The standard cards of every accepted generation, and the standard card with the faults that
// the command layers have answers for: refusals, wrong lengths and a wrong PIN.
std::vector<RecordedCard> recordedCards();

// The commands of scenario and the card's answers to them, in order.
struct Recording {
    std::vector<Seed> commands;
    std::vector<Seed> answers;
};
Recording record(RecordedCard const& card, CardScenario const& scenario);

// One seed per card: its answers framed for AnsweringCardIo.
void addRecordings(SeedSink& sink, CardScenario const& scenario);

}  // namespace testsupport::fuzz::seeds
