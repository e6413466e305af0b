// Its own program: the daemon's client library reads the socket name once per process.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

#include "cardservice/card_service.hpp"

namespace cardservice {
namespace {

TEST(PcscWithoutDaemon, ManagerIsMissingAtOnce) {
    ::setenv("PCSCLITE_CSOCK_NAME", "/nonexistent/velk-pcscd.comm", 1);
    auto const started = std::chrono::steady_clock::now();
    EXPECT_EQ(SlotManager::defaultManager(), nullptr);
    EXPECT_EQ(SlotManager::defaultManager(), nullptr);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
}

}  // namespace
}  // namespace cardservice
