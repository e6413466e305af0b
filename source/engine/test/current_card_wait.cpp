#include "current_card_wait.hpp"

#include <stdexcept>
#include <thread>

#include "engine/exported_functions.hpp"

namespace engine::test {

bool waitUntil(std::function<bool()> const& done, std::chrono::milliseconds limit) {
    auto const deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

bool hasCurrentCard() {
    try {
        checkSmartcard();
        return true;
    } catch (std::invalid_argument* noCard) {
        delete noCard;
        return false;
    }
}

}  // namespace engine::test
