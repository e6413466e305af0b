#pragma once

#include <chrono>
#include <functional>

namespace engine::test {

// Polls until done() holds or the time is up: card events reach the engine on its own thread.
bool waitUntil(std::function<bool()> const& done,
               std::chrono::milliseconds limit = std::chrono::seconds(10));

// Whether the C interface has a current card (it throws a pointer to std::invalid_argument
// when it has none).
bool hasCurrentCard();

}  // namespace engine::test
