#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <utility>

#include <gtest/gtest.h>

#include "simulator_test_util.hpp"
#include "testsupport/cardsim/pkcs15_content.hpp"

namespace testsupport::cardsim::test {
namespace {

ByteVector const Ok{0x90, 0x00};

TEST(CardSimulatorFileCreation, NewFileGoesIntoTheCurrentDirectoryAndSelectsNothing) {
    CardSimulator card;
    selectApplet(card);
    card.transmit({0x00, 0xA4, 0x00, 0x0C, 0x02, 0x50, 0x32});
    // EF 2005, short identifier 05, 16 bytes, both access rules "anybody".
    ByteVector const createEf{0x80, 0xE0, 0x20, 0x05, 0x12, 0x10, 0x01, 0x05,
                              0x11, 0x01, 0x02, 0x12, 0x02, 0x00, 0x10, 0x04,
                              0x02, 0x01, 0x00, 0x05, 0x02, 0x01, 0x00};
    EXPECT_EQ(card.transmit(createEf), Ok);
    ByteVector const tokenInfo = encodeTokenInfo(Pkcs15Content::standard());
    EXPECT_EQ(card.transmit({0x00, 0xB0, 0x00, 0x00, 0x02}),
              (ByteVector{tokenInfo[0], tokenInfo[1], 0x90, 0x00}));
    EXPECT_EQ(card.transmit({0x00, 0xA4, 0x00, 0x00, 0x02, 0x20, 0x05, 0x09}),
              (ByteVector{0x20, 0x05, 0x05, 0x00, 0x00, 0x10, 0x00, 0x00, 0x01, 0x90, 0x00}));
    EXPECT_EQ(card.transmit({0x00, 0xB0, 0x00, 0x00, 0x00}), concat({ByteVector(16, 0x00), Ok}));

    // DF 3000 for at most 8 files, with an EF in it.
    EXPECT_EQ(card.transmit({0x80, 0xE0, 0x30, 0x00, 0x0E, 0x10, 0x01, 0x20, 0x11, 0x01, 0x01, 0x12,
                             0x02, 0x00, 0x08, 0x08, 0x02, 0x01, 0x00}),
              Ok);
    EXPECT_EQ(card.transmit({0x00, 0xA4, 0x00, 0x00, 0x02, 0x30, 0x00, 0x09}),
              (ByteVector{0x30, 0x00, 0x20, 0x00, 0x00, 0x00, 0x00, 0x00, 0x38, 0x90, 0x00}));
    ByteVector createInDf = createEf;
    createInDf[3] = 0x01;
    EXPECT_EQ(card.transmit(createInDf), Ok);
    EXPECT_EQ(statusOf(card.transmit({0x00, 0xA4, 0x00, 0x0C, 0x02, 0x20, 0x01})), Ok);
}

// CREATE FILE of EF 2006 with short identifier 06 and 16 bytes, with the given bytes changed.
ByteVector createEfChanged(std::initializer_list<std::pair<std::size_t, std::uint8_t>> changes) {
    ByteVector command{0x80, 0xE0, 0x20, 0x06, 0x12, 0x10, 0x01, 0x06, 0x11, 0x01, 0x02, 0x12,
                       0x02, 0x00, 0x10, 0x04, 0x02, 0x01, 0x00, 0x05, 0x02, 0x01, 0x00};
    for (auto const& [at, value] : changes) {
        command[at] = value;
    }
    return command;
}

TEST(CardSimulatorFileCreation, TakenIdentifiersAndMalformedDescriptionsAreRefused) {
    CardSimulator card;
    selectApplet(card);
    ASSERT_EQ(card.transmit(createEfChanged({{3, 0x05}, {7, 0x05}})), Ok);
    CommandCase const refusals[] = {
        {createEfChanged({{3, 0x05}}), {0x6A, 0x86}},             // 2005 exists
        {createEfChanged({{2, 0x44}, {3, 0x04}}), {0x6A, 0x86}},  // 4404 exists
        {createEfChanged({{2, 0x3F}, {3, 0x00}}), {0x6A, 0x86}},  // the MF
        {createEfChanged({{2, 0xFF}, {3, 0xFF}}), {0x6A, 0x86}},  // reserved
        {createEfChanged({{7, 0x05}}), {0x6A, 0x80}},             // short identifier 05 taken
        {createEfChanged({{7, 0x7F}}), {0x6A, 0x80}},             // the crypto input buffer's
        {createEfChanged({{10, 0x03}}), {0x67, 0x00}},            // no such file type
        {createEfChanged({{15, 0x08}}), {0x67, 0x00}},            // a DF's rule on an EF
        {createEfChanged({{15, 0x05}}), {0x67, 0x00}},            // a rule given twice
        {createEfChanged({{12, 0x01}}), {0x67, 0x00}},            // size of one byte
        {createEfChanged({{20, 0x03}}), {0x67, 0x00}},            // last TLV runs off the end
        {{0x80, 0xE0, 0x20, 0x06}, {0x67, 0x00}},                 // no description
    };
    for (CommandCase const& refusal : refusals) {
        EXPECT_EQ(card.transmit(refusal.command), refusal.answer) << hex(refusal.command);
    }
    EXPECT_EQ(card.transmit({0x00, 0xA4, 0x00, 0x0C, 0x02, 0x20, 0x06}), (ByteVector{0x6A, 0x82}));
}

}  // namespace
}  // namespace testsupport::cardsim::test
