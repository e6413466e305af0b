#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ctkwrapper/errors.hpp"
#include "ctkwrapper/slot_manager.hpp"
#include "service_fixture.hpp"

namespace ctkwrapper::test {
namespace {

namespace memory = cardservice::memory;

using SlotManagerTest = ServiceTest;

TEST_F(SlotManagerTest, ListsNoReaderWhenNoneIsAttached) {
    EXPECT_TRUE(SlotManager::getInstance().getSlotNames().empty());
}

TEST_F(SlotManagerTest, ListsReadersInTheServiceOrder) {
    memory::addReader("Reader B");
    memory::addReader("Reader A");
    memory::addReader("Reader C");
    memory::removeReader("Reader A");
    EXPECT_EQ(SlotManager::getInstance().getSlotNames(),
              (std::vector<std::string>{"Reader B", "Reader C"}));
}

TEST_F(SlotManagerTest, UnknownNameGivesAnInvalidSlot) {
    memory::addReader("Reader 1");
    Slot const slot = SlotManager::getInstance().slotNamed("Reader 2");
    EXPECT_FALSE(slot.isValid());
}

TEST_F(SlotManagerTest, InvalidSlotReadsAsAGoneReader) {
    Slot slot = SlotManager::getInstance().slotNamed("nowhere");
    EXPECT_EQ(slot.getName(), "");
    EXPECT_EQ(slot.getState(), SlotState::Missing);
    EXPECT_FALSE(slot.makeSmartcard().isValid());
}

TEST_F(SlotManagerTest, FindsAPresentReaderByName) {
    memory::addReader("Reader 1");
    memory::addReader("Reader 2");
    Slot const slot = SlotManager::getInstance().slotNamed("Reader 2");
    ASSERT_TRUE(slot.isValid());
    EXPECT_EQ(slot.getName(), "Reader 2");
    EXPECT_EQ(slot.getState(), SlotState::Empty);
}

using SlotTest = ServiceTest;

TEST_F(SlotTest, FollowsTheCardThroughItsStates) {
    memory::addReader("Reader");
    Slot slot = SlotManager::getInstance().slotNamed("Reader");
    EXPECT_EQ(slot.getState(), SlotState::Empty);
    memory::insertCard("Reader", std::make_shared<testsupport::cardsim::CardSimulator>());
    EXPECT_EQ(slot.getState(), SlotState::ValidCard);
    memory::muteCard("Reader");
    EXPECT_EQ(slot.getState(), SlotState::MuteCard);
    memory::removeCard("Reader");
    EXPECT_EQ(slot.getState(), SlotState::Empty);
    memory::removeReader("Reader");
    EXPECT_EQ(slot.getState(), SlotState::Missing);
}

TEST_F(SlotTest, MakesNoCardWithoutAUsableOne) {
    memory::addReader("Reader");
    Slot slot = SlotManager::getInstance().slotNamed("Reader");
    EXPECT_FALSE(slot.makeSmartcard().isValid());
    memory::insertCard("Reader", std::make_shared<testsupport::cardsim::CardSimulator>());
    EXPECT_TRUE(slot.makeSmartcard().isValid());
    memory::muteCard("Reader");
    EXPECT_FALSE(slot.makeSmartcard().isValid());
}

TEST_F(SlotTest, MovedHandleTakesTheSlotAlong) {
    memory::addReader("Reader");
    Slot first = SlotManager::getInstance().slotNamed("Reader");
    Slot second;
    second = std::move(first);
    EXPECT_EQ(second.getName(), "Reader");
    Slot third(std::move(second));
    EXPECT_TRUE(third.isValid());
}

class InvalidSlotState : public ServiceTest, public ::testing::WithParamInterface<std::int64_t> {};

TEST_P(InvalidSlotState, IsRefusedWithItsNumber) {
    memory::addReader("Reader");
    Slot slot = SlotManager::getInstance().slotNamed("Reader");
    memory::reportState("Reader", GetParam());
    try {
        slot.getState();
        FAIL() << "no exception for state " << GetParam();
    } catch (UnexpectedCtkError const& e) {
        EXPECT_EQ(std::string(e.what()), "Invalid slot state: " + std::to_string(GetParam()));
    }
}

INSTANTIATE_TEST_SUITE_P(States, InvalidSlotState,
                         ::testing::Values(5, 7, -1, INT32_MIN, INT64_MAX));

TEST(ToSlotState, KeepsEveryStateOfTheService) {
    EXPECT_EQ(toSlotState(0), SlotState::Missing);
    EXPECT_EQ(toSlotState(1), SlotState::Empty);
    EXPECT_EQ(toSlotState(2), SlotState::Probing);
    EXPECT_EQ(toSlotState(3), SlotState::MuteCard);
    EXPECT_EQ(toSlotState(4), SlotState::ValidCard);
}

TEST(ToSlotState, RefusesValuesThatTruncateToAValidState) {
    // 2^32 + 4 would read as ValidCard if only the low 32 bits were looked at.
    EXPECT_THROW(toSlotState((std::int64_t{1} << 32) + 4), UnexpectedCtkError);
}

}  // namespace
}  // namespace ctkwrapper::test
