// Seeds of the whole-stack fuzzer: the simulator's answers to the card object's operations.
#include "seed_registry.hpp"
#include "simulator_recording.hpp"
#include "smartcard_scenario.hpp"

namespace testsupport::fuzz::seeds {

namespace {

void addSmartcardSeeds(SeedSink& sink) {
    addRecordings(sink, &pavlenenabler::fuzz::runSmartcard);
}

SeedRegistration const smartcard("smartcard_fuzz", &addSmartcardSeeds);

}  // namespace

}  // namespace testsupport::fuzz::seeds
