// Seeds of the fuzzers that play a card: the simulator's answers to each scenario, recorded on
// every accepted card generation and with the faults the command layers handle.
#include <set>
#include <string>

#include "applet_commands_scenario.hpp"
#include "iso_commands_scenario.hpp"
#include "seed_registry.hpp"
#include "simulator_recording.hpp"

namespace testsupport::fuzz::seeds {

namespace {

void runIso(iso7816::interchange::CardIo& card) {
    iso7816::fuzz::runIsoCommands(card);
}

void addIsoSeeds(SeedSink& sink) {
    addRecordings(sink, &runIso);
}

void addAppletSeeds(SeedSink& sink) {
    addRecordings(sink, &teappletlib::fuzz::runAppletCommands);
}

// Every distinct answer of both scenarios on every card, one response per seed.
void addResponseSeeds(SeedSink& sink) {
    std::set<Seed> responses;
    for (auto const& card : recordedCards()) {
        for (CardScenario const& scenario :
             {CardScenario(&runIso), CardScenario(&teappletlib::fuzz::runAppletCommands)}) {
            auto const answers = record(card, scenario).answers;
            responses.insert(answers.begin(), answers.end());
        }
    }
    int number = 0;
    for (auto const& response : responses) {
        sink.add("response_" + std::to_string(++number), response);
    }
}

SeedRegistration const iso("iso_commands_fuzz", &addIsoSeeds);
SeedRegistration const applet("applet_commands_fuzz", &addAppletSeeds);
SeedRegistration const responses("apdu_response_fuzz", &addResponseSeeds);

}  // namespace

}  // namespace testsupport::fuzz::seeds
