#include <chrono>
#include <future>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cardservice/memory/memory_service.hpp"

namespace cardservice::memory::test {
namespace {

class MemoryServiceTest : public ::testing::Test {
protected:
    void SetUp() override { reset(); }
    void TearDown() override { reset(); }
};

std::shared_ptr<Slot> lookUp(std::string const& name) {
    std::promise<std::shared_ptr<Slot>> found;
    auto slot = found.get_future();
    SlotManager::defaultManager()->getSlotWithName(
        name, [&found](std::shared_ptr<Slot> reply) { found.set_value(std::move(reply)); });
    EXPECT_EQ(slot.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    return slot.get();
}

std::shared_ptr<testsupport::cardsim::CardSimulator> newCard() {
    return std::make_shared<testsupport::cardsim::CardSimulator>();
}

TEST_F(MemoryServiceTest, ManagerIsNullWhileUnavailable) {
    auto const manager = SlotManager::defaultManager();
    ASSERT_NE(manager, nullptr);
    setManagerAvailable(false);
    EXPECT_EQ(SlotManager::defaultManager(), nullptr);
    reset();
    EXPECT_EQ(SlotManager::defaultManager(), manager);
}

TEST_F(MemoryServiceTest, ResetRemovesReadersAndReportsThemMissing) {
    addReader("Reader 1");
    addReader("Reader 2");
    insertCard("Reader 2", newCard());
    auto const manager = SlotManager::defaultManager();
    std::vector<std::vector<std::string>> lists;
    auto const id = manager->addObserver("slotNames", 0, [&](ObservedValue const& v) {
        lists.push_back(std::get<std::vector<std::string>>(v));
    });
    reset();
    manager->removeObserver(id);
    EXPECT_EQ(lists, (std::vector<std::vector<std::string>>{{"Reader 2"}, {}}));
    EXPECT_TRUE(manager->slotNames().empty());
}

TEST_F(MemoryServiceTest, ResetDropsArmedFaults) {
    addReader("Reader");
    failSessions("Reader", TokenNotFound);
    reset();
    addReader("Reader");
    insertCard("Reader", newCard());
    auto const card = lookUp("Reader")->makeSmartCard();
    ASSERT_NE(card, nullptr);
    ErrorPtr error;
    EXPECT_TRUE(card->inSession([] { return true; }, error));
    EXPECT_EQ(error, nullptr);
}

TEST_F(MemoryServiceTest, ReaderNamesAreUnique) {
    addReader("Reader");
    EXPECT_THROW(addReader("Reader"), std::invalid_argument);
}

TEST_F(MemoryServiceTest, ControlOfAnUnknownReaderThrows) {
    EXPECT_THROW(removeReader("nowhere"), std::invalid_argument);
    EXPECT_THROW(insertCard("nowhere", newCard()), std::invalid_argument);
    EXPECT_THROW(failTransmissions("nowhere", CommunicationError), std::invalid_argument);
}

TEST_F(MemoryServiceTest, CardControlNeedsTheRightReaderContents) {
    addReader("Reader");
    EXPECT_THROW(removeCard("Reader"), std::logic_error);
    EXPECT_THROW(resetCard("Reader"), std::logic_error);
    EXPECT_THROW(muteCard("Reader"), std::logic_error);
    insertCard("Reader", newCard());
    EXPECT_THROW(insertCard("Reader", newCard()), std::logic_error);
}

TEST_F(MemoryServiceTest, ReplyMayAskForAnotherReplyWhichComesAfterItReturns) {
    addReader("Reader 1");
    addReader("Reader 2");
    insertCard("Reader 1", newCard());
    insertCard("Reader 2", newCard());
    auto const first = lookUp("Reader 1")->makeSmartCard();
    auto const second = lookUp("Reader 2")->makeSmartCard();
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    Bytes const openChannel{0x00, 0x70, 0x00, 0x00, 0x01};
    // Touched only on the service's reply thread, one reply after the other.
    std::vector<std::string> steps;
    std::promise<std::vector<std::string>> done;
    auto result = done.get_future();
    first->transmitRequest(openChannel, [&](Bytes const*, ErrorPtr) {
        steps.push_back("first reply");
        second->transmitRequest(openChannel, [&](Bytes const* response, ErrorPtr) {
            steps.push_back(response != nullptr ? "second reply" : "second failed");
            done.set_value(steps);
        });
        steps.push_back("first returns");
    });
    ASSERT_EQ(result.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_EQ(result.get(),
              (std::vector<std::string>{"first reply", "first returns", "second reply"}));
}

TEST_F(MemoryServiceTest, ResetCardResetsTheSimulator) {
    addReader("Reader");
    auto const card = newCard();
    insertCard("Reader", card);
    // Open a logical channel; a reset closes it, so the next open gets channel 1 again.
    EXPECT_EQ(card->transmit({0x00, 0x70, 0x00, 0x00, 0x01}),
              (testsupport::cardsim::ByteVector{0x01, 0x90, 0x00}));
    resetCard("Reader");
    EXPECT_EQ(card->transmit({0x00, 0x70, 0x00, 0x00, 0x01}),
              (testsupport::cardsim::ByteVector{0x01, 0x90, 0x00}));
}

}  // namespace
}  // namespace cardservice::memory::test
