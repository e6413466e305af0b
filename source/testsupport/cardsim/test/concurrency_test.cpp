#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "simulator_test_util.hpp"
#include "testsupport/cardsim/pkcs15_content.hpp"

namespace testsupport::cardsim::test {
namespace {

TEST(CardSimulatorThreads, ChannelsUsedFromSeveralThreadsKeepTheirOwnState) {
    constexpr int Threads = 4;
    CardProfile profile = CardProfile::standard();
    profile.channelCount = Threads + 1;
    CardSimulator card(std::move(profile));
    std::vector<std::uint8_t> channels;
    for (int i = 0; i < Threads; ++i) {
        channels.push_back(dataOf(card.transmit({0x00, 0x70, 0x00, 0x00, 0x01})).at(0));
    }
    ByteVector const tokenInfo = encodeTokenInfo(Pkcs15Content::standard());
    std::vector<int> failures(Threads, 0);
    std::vector<std::thread> workers;
    for (int t = 0; t < Threads; ++t) {
        workers.emplace_back([&, t] {
            // Channel 4 needs the further interindustry class.
            std::uint8_t const channel = channels[static_cast<std::size_t>(t)];
            std::uint8_t const cla =
                channel < 4 ? channel : static_cast<std::uint8_t>(0x40 | (channel - 4));
            int& failed = failures[static_cast<std::size_t>(t)];
            for (int i = 0; i < 50; ++i) {
                failed += selectApplet(card, cla) != ByteVector{0x90, 0x00};
                failed += card.transmit({cla, 0x20, 0x00, 0x03}) != ByteVector{0x63, 0xC3};
                failed += verifyPin(card, "1234", cla) != ByteVector{0x90, 0x00};
                failed += card.transmit({cla, 0xA4, 0x00, 0x0C, 0x02, 0x50, 0x32}) !=
                          ByteVector{0x90, 0x00};
                failed += dataOf(card.transmit({cla, 0xB0, 0x00, 0x00, 0x00})) != tokenInfo;
            }
        });
    }
    for (std::thread& worker : workers) {
        worker.join();
    }
    EXPECT_EQ(failures, std::vector<int>(Threads, 0));
    EXPECT_EQ(card.log().size(), Threads + Threads * 50U * 5U);
}

}  // namespace
}  // namespace testsupport::cardsim::test
