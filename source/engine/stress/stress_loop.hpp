#pragma once

#include <chrono>

namespace engine::stress {

// The platform's own means of putting a card in, taking it out and resetting it.
class CardControl {
public:
    virtual ~CardControl() = default;
    virtual void insert() = 0;
    virtual void remove() = 0;
    virtual void reset() = 0;
};

struct LoopSettings {
    int rounds;
    // The longest one round's operations may take.
    std::chrono::milliseconds roundLimit;
    // The longest the engine may take to make an inserted card current, or to drop a removed one.
    std::chrono::milliseconds eventLimit;
};

// VELK_STRESS_ROUNDS when set (a shorter loop under valgrind), otherwise `rounds`.
int roundsFromEnvironment(int rounds);

// Rounds of login, certificate and two signatures through the engine's C interface on one
// thread while this thread removes or resets the card at a random moment. Every operation must
// end with a right result or a typed error within the round's limit; a removed card must stop
// being current, and an inserted one become current. The engine must have been started with
// the card in. Reports through GoogleTest; VELK_STRESS_SEED repeats a run's random choices.
void runLoop(CardControl& card, LoopSettings const& settings);

}  // namespace engine::stress
