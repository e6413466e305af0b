#pragma once

#include <string>

namespace engine::stress {

// What a host does with a card through the engine's C interface.
enum class Operation { Login, Certificate, Sign };

// How an operation ended.
enum class Ending {
    Result,     // it delivered, and what it delivered is right
    Refused,    // the C interface answered false: the card could not do it
    CardError,  // an exception of the system's hierarchy (std::runtime_error and below)
    NoCard,     // no current card: the C interface's std::invalid_argument pointer
    Fault,      // a wrong result, or an exception of any other kind
};

struct Outcome {
    Ending ending;
    // What was wrong, for a Fault; the exception's text for a CardError.
    std::string detail;
};

char const* nameOf(Operation operation);
char const* nameOf(Ending ending);

// Runs the operation on the current card, with the test cards' PIN, and checks a result
// against the test credentials of the authentication key. Throws nothing.
Outcome perform(Operation operation);

}  // namespace engine::stress
