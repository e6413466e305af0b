#include "stress_loop.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <future>
#include <iostream>
#include <map>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "card_operations.hpp"
#include "current_card_wait.hpp"
#include "engine/exported_functions.hpp"

namespace engine::stress {
namespace {

using test::hasCurrentCard;
using test::waitUntil;

using Clock = std::chrono::steady_clock;

std::vector<Operation> const Sequence{Operation::Login, Operation::Certificate, Operation::Sign,
                                      Operation::Sign};
std::vector<Operation> const Kinds{Operation::Login, Operation::Certificate, Operation::Sign};

// The sequence on a thread of its own, started at construction.
class Operations {
public:
    Operations()
        : ended_(promise_.get_future()), thread_([this] {
              std::vector<Outcome> outcomes;
              for (Operation const operation : Sequence) {
                  outcomes.push_back(perform(operation));
              }
              promise_.set_value(std::move(outcomes));
          }) {}

    ~Operations() { thread_.join(); }
    Operations(Operations const&) = delete;
    Operations& operator=(Operations const&) = delete;

    // The outcomes in the order of Sequence. An operation still running after the limit is a
    // hang: the run ends here, since its thread can be neither joined nor stopped.
    std::vector<Outcome> outcomes(std::chrono::milliseconds limit, int round) {
        if (ended_.wait_for(limit) != std::future_status::ready) {
            std::cerr << "round " << round << ": the card operations did not end within "
                      << limit.count() << " ms" << std::endl;
            std::abort();
        }
        return ended_.get();
    }

private:
    std::promise<std::vector<Outcome>> promise_;
    std::future<std::vector<Outcome>> ended_;
    std::thread thread_;
};

class Tally {
public:
    void add(Operation operation, Outcome const& outcome, int round) {
        ++counts_[{operation, outcome.ending}];
        EXPECT_NE(outcome.ending, Ending::Fault)
            << "round " << round << ", " << nameOf(operation) << ": " << outcome.detail;
    }

    int count(Operation operation, Ending ending) const {
        auto const found = counts_.find({operation, ending});
        return found == counts_.end() ? 0 : found->second;
    }

    void print(std::ostream& out) const {
        for (auto const& [key, count] : counts_) {
            out << "  " << nameOf(key.first) << " -> " << nameOf(key.second) << ": " << count
                << "\n";
        }
    }

private:
    std::map<std::pair<Operation, Ending>, int> counts_;
};

std::mt19937::result_type seedFromEnvironment() {
    char const* seed = std::getenv("VELK_STRESS_SEED");
    return seed != nullptr ? static_cast<std::mt19937::result_type>(std::stoul(seed))
                           : std::random_device()();
}

}  // namespace

int roundsFromEnvironment(int rounds) {
    char const* text = std::getenv("VELK_STRESS_ROUNDS");
    return text != nullptr ? std::stoi(text) : rounds;
}

void runLoop(CardControl& card, LoopSettings const& settings) {
    auto const seed = seedFromEnvironment();
    std::cout << "VELK_STRESS_SEED=" << seed << ", " << settings.rounds << " rounds" << std::endl;
    std::mt19937 random(seed);
    ASSERT_TRUE(waitUntil(hasCurrentCard, settings.eventLimit)) << "the engine has no card";

    // Undisturbed, every operation succeeds. The shortest of a few runs spans the moments to
    // disrupt: the first runs are slower (under valgrind, much slower).
    auto span = std::chrono::microseconds::max();
    for (int run = 0; run < 3; ++run) {
        auto const start = Clock::now();
        for (Outcome const& outcome : Operations().outcomes(settings.roundLimit, 0)) {
            ASSERT_EQ(outcome.ending, Ending::Result) << outcome.detail;
        }
        span = std::min(
            span, std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start));
    }
    std::uniform_int_distribution<std::chrono::microseconds::rep> moment(0, span.count());
    std::bernoulli_distribution removal(0.5);

    Tally tally;
    for (int round = 1; round <= settings.rounds; ++round) {
        ASSERT_TRUE(waitUntil(hasCurrentCard, settings.eventLimit))
            << "round " << round << ": an inserted card did not become current";
        bool const removes = removal(random);
        auto const delay = std::chrono::microseconds(moment(random));
        Operations operations;
        // Not a synchronisation: the random moment at which the card goes or resets.
        std::this_thread::sleep_for(delay);
        if (removes) {
            card.remove();
        } else {
            card.reset();
        }
        std::vector<Outcome> const outcomes = operations.outcomes(settings.roundLimit, round);
        for (std::size_t i = 0; i < Sequence.size(); ++i) {
            tally.add(Sequence[i], outcomes[i], round);
        }
        if (removes) {
            ASSERT_TRUE(waitUntil([] { return !hasCurrentCard(); }, settings.eventLimit))
                << "round " << round << ": a removed card stayed current";
            card.insert();
        }
    }

    // The stack recovers: with the card left alone, everything works again once the engine has
    // taken up the last reset, which it may still report as a removal and an insertion.
    EXPECT_TRUE(waitUntil(
        [&settings] {
            for (Outcome const& outcome : Operations().outcomes(settings.roundLimit, 0)) {
                if (outcome.ending != Ending::Result) {
                    return false;
                }
            }
            return true;
        },
        settings.eventLimit))
        << "the operations keep failing with the card left alone";
    tally.print(std::cout);
    for (Operation const operation : Kinds) {
        EXPECT_GT(tally.count(operation, Ending::Result), 0) << nameOf(operation);
    }
    // The disruptions did land in the middle of operations.
    int disrupted = 0;
    for (Operation const operation : Kinds) {
        for (Ending const ending : {Ending::Refused, Ending::CardError, Ending::NoCard}) {
            disrupted += tally.count(operation, ending);
        }
    }
    EXPECT_GT(disrupted, 0);
}

}  // namespace engine::stress
