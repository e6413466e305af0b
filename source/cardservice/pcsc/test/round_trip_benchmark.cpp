// Mean time of one APDU round trip through pcscd and the virtual card. Needs a running daemon;
// not a test, ctest does not run it.
#include <chrono>
#include <iostream>

#include "pcsc_test_support.hpp"
#include "state_recorder.hpp"
#include "virtual_card_process.hpp"

using namespace cardservice;
using namespace cardservice::pcsc::testing;

int main() {
    constexpr int RoundTrips = 2000;
    std::shared_ptr<SlotManager> const manager = SlotManager::defaultManager();
    if (!manager) {
        std::cerr << "no PC/SC daemon" << std::endl;
        return 1;
    }
    std::shared_ptr<Slot> const slot = slotNamed(*manager, VirtualReader);
    if (!slot) {
        std::cerr << "no reader " << VirtualReader << std::endl;
        return 1;
    }
    StateRecorder recorder(slot);
    // A card program stopped just before may not have been seen leaving yet.
    if (!recorder.waitForState(StateEmpty)) {
        std::cerr << "another card is in " << VirtualReader << std::endl;
        return 1;
    }
    VirtualCardProcess virtualCard;
    std::shared_ptr<Card> card;
    if (!recorder.waitForState(StateValidCard) || !(card = slot->makeSmartCard())) {
        std::cerr << "the virtual card did not come" << std::endl;
        return 1;
    }
    Bytes const selectApplet{0x00, 0xA4, 0x04, 0x0C, 0x0C, 0xA0, 0x00, 0x00, 0x00,
                             0x63, 0x50, 0x4B, 0x43, 0x53, 0x2D, 0x31, 0x35};
    std::string failure;
    std::chrono::steady_clock::duration elapsed{};
    ErrorPtr error;
    card->inSession(
        [&] {
            auto const start = std::chrono::steady_clock::now();
            for (int i = 0; i < RoundTrips && failure.empty(); ++i) {
                std::optional<TransmitOutcome> const outcome = transmitAndWait(*card, selectApplet);
                if (!outcome) {
                    failure = "no reply";
                } else if (outcome->error) {
                    failure = outcome->error->description();
                }
            }
            elapsed = std::chrono::steady_clock::now() - start;
            return true;
        },
        error);
    if (error) {
        failure = error->description();
    }
    if (!failure.empty()) {
        std::cerr << "a round trip failed: " << failure << std::endl;
        return 1;
    }
    auto const micros = std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count();
    std::cout << "mean APDU round trip: " << static_cast<double>(micros) / RoundTrips << " us over "
              << RoundTrips << " commands" << std::endl;
    return 0;
}
