#pragma once

#include <chrono>
#include <future>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "cardservice/memory/memory_service.hpp"
#include "testsupport/cardsim/card_simulator.hpp"

namespace ctkwrapper::test {

constexpr auto replyTimeout = std::chrono::seconds(10);

// Every test starts and ends with the in-memory service empty and available.
class ServiceTest : public ::testing::Test {
protected:
    void SetUp() override { cardservice::memory::reset(); }
    void TearDown() override { cardservice::memory::reset(); }

    // A reader with a fresh simulated card in it.
    std::shared_ptr<testsupport::cardsim::CardSimulator> readerWithCard(std::string const& name) {
        auto card = std::make_shared<testsupport::cardsim::CardSimulator>();
        cardservice::memory::addReader(name);
        cardservice::memory::insertCard(name, card);
        return card;
    }
};

// The value a reply delivered on another thread, waited for with a time-out.
template <typename T>
T awaitValue(std::future<T>& future) {
    if (future.wait_for(replyTimeout) != std::future_status::ready) {
        ADD_FAILURE() << "No reply within the time-out";
        throw std::runtime_error("no reply");
    }
    return future.get();
}

}  // namespace ctkwrapper::test
