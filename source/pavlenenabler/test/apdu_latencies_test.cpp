// The per-card table of the latest duration per instruction byte.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <utility>
#include <vector>

#include "pavlenenabler/enabler/apdu_latencies.hpp"

namespace pavlenenabler::enabler {
namespace {

using iso7816::interchange::Apdu;
using iso7816::interchange::ApduIns;
using iso7816::interchange::ApduResponse;
using std::chrono::milliseconds;

using Table = std::vector<std::pair<unsigned, long long>>;

Table Snapshot(ApduLatencies const& latencies) {
    Table table;
    for (auto const& latency : latencies.getAll()) {
        table.emplace_back(latency->getApduInstruction().GetValue(), latency->getTime().count());
    }
    return table;
}

void Exchange(ApduLatencies& latencies, unsigned char ins, milliseconds duration) {
    latencies.add(Apdu(ApduIns(ins), 0x00, 0x00, 0), ApduResponse(ApduResponse::Code(0x9000), {}),
                  duration);
}

TEST(ApduLatenciesTest, LaterExchangeReplacesTheEarlierDuration) {
    ApduLatencies latencies;
    EXPECT_EQ(Snapshot(latencies), Table{});
    Exchange(latencies, 0xB0, milliseconds(12));
    Exchange(latencies, 0xB0, milliseconds(7));
    EXPECT_EQ(Snapshot(latencies), (Table{{0xB0, 7}}));
}

TEST(ApduLatenciesTest, EntriesComeOutInInstructionOrder) {
    ApduLatencies latencies;
    Exchange(latencies, 0xA4, milliseconds(3));
    Exchange(latencies, 0x2A, milliseconds(250));
    Exchange(latencies, 0x20, milliseconds(40));
    EXPECT_EQ(Snapshot(latencies), (Table{{0x20, 40}, {0x2A, 250}, {0xA4, 3}}));
}

TEST(ApduLatenciesTest, ConcurrentExchangesAndQueriesSeeWholeEntries) {
    ApduLatencies latencies;
    constexpr int Rounds = 2000;
    // Each writer owns a range of instructions; the duration it writes names the instruction.
    auto writer = [&latencies](unsigned first) {
        for (int round = 0; round < Rounds; ++round) {
            unsigned const ins = first + static_cast<unsigned>(round % 16);
            Exchange(latencies, static_cast<unsigned char>(ins), milliseconds(ins * 10000 + round));
        }
    };
    auto reader = [&latencies] {
        for (int round = 0; round < Rounds; ++round) {
            Table const table = Snapshot(latencies);
            for (std::size_t i = 0; i < table.size(); ++i) {
                ASSERT_EQ(table[i].second / 10000, table[i].first);
                if (i > 0) {
                    ASSERT_LT(table[i - 1].first, table[i].first);
                }
            }
        }
    };
    std::vector<std::future<void>> runs;
    runs.push_back(std::async(std::launch::async, writer, 0x00u));
    runs.push_back(std::async(std::launch::async, writer, 0x80u));
    runs.push_back(std::async(std::launch::async, reader));
    for (auto& run : runs) {
        ASSERT_EQ(run.wait_for(std::chrono::seconds(60)), std::future_status::ready);
        run.get();
    }
    Table const table = Snapshot(latencies);
    ASSERT_EQ(table.size(), 32U);
    // The last round wrote instruction first + 15 with round Rounds - 1.
    EXPECT_EQ(table[15], (std::pair<unsigned, long long>{0x0F, 0x0F * 10000 + Rounds - 1}));
    EXPECT_EQ(table[31], (std::pair<unsigned, long long>{0x8F, 0x8F * 10000 + Rounds - 1}));
}

}  // namespace
}  // namespace pavlenenabler::enabler
