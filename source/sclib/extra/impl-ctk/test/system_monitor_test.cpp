#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "sclib/impl/ctk/detail/system_event_generator.hpp"
#include "sclib/impl/ctk/provider.hpp"
#include "sclib/impl/ctk/system_monitor.hpp"
#include "service_test.hpp"

namespace sclib::impl::ctk {
namespace {

using detail::SystemEvent;
using Names = std::vector<std::string>;
using ReaderList = std::vector<std::shared_ptr<sclib::Reader>>;
namespace memory = cardservice::memory;

Names namesOf(ReaderList const& readers) {
    Names names;
    for (auto const& reader : readers) {
        names.push_back(reader->GetName());
    }
    return names;
}

// One notified reader list and the readers it must report, in address order.
struct ListStep {
    Names notified;
    Names added;
    Names removed;
};

struct ListCase {
    char const* name;
    std::vector<ListStep> steps;
};

void PrintTo(ListCase const& c, std::ostream* os) {
    *os << c.name;
}

class ReaderListTest : public test::ServiceTest, public ::testing::WithParamInterface<ListCase> {};

TEST_P(ReaderListTest, ChangesAreReportedAdditionsFirst) {
    detail::SystemEventGenerator generator;
    for (auto const& step : GetParam().steps) {
        generator.Update(ctkwrapper::KvValue{step.notified});
        ReaderList added;
        ReaderList removed;
        while (auto const event = generator.GetEvent()) {
            if (event->type == SystemEvent::ReaderAdded) {
                EXPECT_TRUE(removed.empty()) << "an addition after a removal";
                added.push_back(event->reader);
            } else {
                removed.push_back(event->reader);
            }
        }
        EXPECT_TRUE(std::is_sorted(added.begin(), added.end()));
        EXPECT_TRUE(std::is_sorted(removed.begin(), removed.end()));
        // Address order is not name order: compare the names as sets.
        auto addedNames = namesOf(added);
        auto removedNames = namesOf(removed);
        std::sort(addedNames.begin(), addedNames.end());
        std::sort(removedNames.begin(), removedNames.end());
        EXPECT_EQ(addedNames, step.added);
        EXPECT_EQ(removedNames, step.removed);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lists, ReaderListTest,
    ::testing::Values(
        ListCase{"FirstListIsAllAdded", {{{"B", "A", "C"}, {"A", "B", "C"}, {}}}},
        ListCase{"OneAttachedAnotherDetached", {{{"A"}, {"A"}, {}}, {{"B"}, {"B"}, {"A"}}}},
        ListCase{"OrderChangeGivesNothing", {{{"A", "B"}, {"A", "B"}, {}}, {{"B", "A"}, {}, {}}}},
        ListCase{"SameListGivesNothing", {{{"A"}, {"A"}, {}}, {{"A"}, {}, {}}}},
        ListCase{"NamesDifferingInCaseAreDifferentReaders",
                 {{{"Reader A"}, {"Reader A"}, {}}, {{"reader a"}, {"reader a"}, {"Reader A"}}}},
        ListCase{"AllDetached", {{{"A", "B"}, {"A", "B"}, {}}, {{}, {}, {"A", "B"}}}}),
    [](auto const& info) { return std::string(info.param.name); });

class SystemMonitorTest : public test::ServiceTest {
protected:
    void SetUp() override {
        test::ServiceTest::SetUp();
        monitor->readerAdded().connect(
            [this](std::shared_ptr<sclib::Reader> const& reader) { added.push_back(reader); });
        monitor->readerRemoved().connect(
            [this](std::shared_ptr<sclib::Reader> const& reader) { removed.push_back(reader); });
    }

    ReaderList added;
    ReaderList removed;
    std::shared_ptr<SystemMonitor> monitor =
        std::dynamic_pointer_cast<SystemMonitor>(GetProvider().CreateSystemMonitor());
};

TEST_F(SystemMonitorTest, ReadersPresentAtStartAreAddedOnce) {
    memory::addReader("Reader 1");
    memory::addReader("Reader 2");
    monitor->Start();
    EXPECT_TRUE(monitor->IsRunning());
    EXPECT_TRUE(monitor->Process());
    EXPECT_FALSE(monitor->Process());
    auto names = namesOf(added);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (Names{"Reader 1", "Reader 2"}));
    EXPECT_TRUE(removed.empty());
}

TEST_F(SystemMonitorTest, ArrivalAndDepartureNameTheSameReaderObject) {
    monitor->Start();
    EXPECT_FALSE(monitor->Process());
    memory::addReader("Reader 1");
    monitor->Process();
    ASSERT_EQ(added.size(), 1U);
    EXPECT_EQ(added[0], GetProvider().GetReaderByName("READER 1"));
    memory::removeReader("Reader 1");
    monitor->Process();
    ASSERT_EQ(removed.size(), 1U);
    EXPECT_EQ(removed[0], added[0]);
}

TEST_F(SystemMonitorTest, ReaderThatComesAndGoesBeforeThePumpIsReported) {
    monitor->Start();
    memory::addReader("Reader 1");
    memory::removeReader("Reader 1");
    monitor->Process();
    EXPECT_EQ(namesOf(added), Names{"Reader 1"});
    EXPECT_EQ(removed, added);
}

}  // namespace
}  // namespace sclib::impl::ctk
