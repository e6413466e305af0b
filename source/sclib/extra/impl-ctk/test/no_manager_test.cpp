#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "cardservice/memory/memory_service.hpp"
#include "ctkwrapper/errors.hpp"
#include "sclib/impl/ctk/provider.hpp"

// Its own program: the card service's manager is looked up once per process, on first use.
namespace sclib::impl::ctk {
namespace {

void expectNoAccess(std::function<void()> const& run) {
    try {
        run();
        FAIL() << "no exception";
    } catch (ctkwrapper::UnexpectedCtkError const& e) {
        EXPECT_STREQ(e.what(), "No access to TKSmartcardSlotManager (missing entitlement?)");
    }
}

TEST(NoManagerTest, EveryServiceUseFailsUntilTheManagerIsAvailable) {
    cardservice::memory::reset();
    cardservice::memory::addReader("Reader 1");
    cardservice::memory::setManagerAvailable(false);
    expectNoAccess([] { GetProvider().GetReaders(); });
    expectNoAccess([] { GetProvider().GetReaderByName("Reader 1"); });
    expectNoAccess([] { GetProvider().CreateSystemMonitor()->Start(); });
    expectNoAccess([] { std::make_shared<Reader>("Reader 1")->ConnectSmartcard(); });

    cardservice::memory::setManagerAvailable(true);
    EXPECT_EQ(GetProvider().GetReaders().size(), 1U);
    cardservice::memory::reset();
}

}  // namespace
}  // namespace sclib::impl::ctk
