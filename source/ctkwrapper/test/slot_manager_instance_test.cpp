#include <gtest/gtest.h>

#include "cardservice/memory/memory_service.hpp"
#include "ctkwrapper/errors.hpp"
#include "ctkwrapper/slot_manager.hpp"

// Alone in its program: once getInstance has succeeded, the instance stays for the process.
namespace ctkwrapper::test {
namespace {

TEST(SlotManagerInstance, FailsWithoutServiceAndSucceedsOnceItIsBack) {
    cardservice::memory::reset();
    cardservice::memory::setManagerAvailable(false);
    try {
        SlotManager::getInstance();
        FAIL() << "getInstance succeeded without a manager";
    } catch (UnexpectedCtkError const& e) {
        EXPECT_STREQ(e.what(), "No access to TKSmartcardSlotManager (missing entitlement?)");
    }
    cardservice::memory::setManagerAvailable(true);
    cardservice::memory::addReader("Reader");
    SlotManager& manager = SlotManager::getInstance();
    EXPECT_EQ(manager.getSlotNames(), std::vector<std::string>{"Reader"});
    EXPECT_EQ(&SlotManager::getInstance(), &manager);
    cardservice::memory::reset();
}

}  // namespace
}  // namespace ctkwrapper::test
