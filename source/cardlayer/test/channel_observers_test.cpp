#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "cardlayer/transmission/basic_channel_notifier.hpp"
#include "cardlayer/transmission/changed_channel_notifier.hpp"
#include "cardlayer/transmission/multi_channel_observer.hpp"

namespace cardlayer::transmission {
namespace {

using iso7816::interchange::ChannelId;
using ::testing::ElementsAre;

TEST(ChangedChannelNotifier, ReportsOnlyChanges) {
    std::vector<int> calls;
    ChangedChannelNotifier notifier(
        [&](ChannelId channel) { calls.push_back(channel.GetValue()); });
    for (int channel : {1, 1, 2, 2, 1}) {
        notifier.notify(ChannelId(static_cast<std::uint8_t>(channel)));
    }
    EXPECT_THAT(calls, ElementsAre(1, 2, 1));
}

TEST(ChangedChannelNotifier, ChannelWhoseReportFailedIsReportedAgain) {
    std::vector<int> calls;
    bool fail = true;
    ChangedChannelNotifier notifier([&](ChannelId channel) {
        calls.push_back(channel.GetValue());
        if (fail) {
            throw std::runtime_error("observer failed");
        }
    });
    EXPECT_THROW(notifier.notify(ChannelId{1}), std::runtime_error);
    fail = false;
    notifier.notify(ChannelId{1});
    notifier.notify(ChannelId{1});
    EXPECT_THAT(calls, ElementsAre(1, 1));
}

TEST(BasicChannelNotifier, ReportsOnlyTheBasicChannel) {
    std::vector<int> calls;
    BasicChannelNotifier notifier([&](ChannelId channel) { calls.push_back(channel.GetValue()); });
    notifier.notify(ChannelId{1});
    notifier.notify(ChannelId{0});
    EXPECT_THAT(calls, ElementsAre(0));
}

TEST(BasicChannelNotifier, EmptyFunctionThrowsOnlyForTheBasicChannel) {
    BasicChannelNotifier notifier{BasicChannelNotifier::Function()};
    EXPECT_NO_THROW(notifier.notify(ChannelId{2}));
    EXPECT_THROW(notifier.notify(ChannelId{0}), std::bad_function_call);
}

TEST(MultiChannelObserver, NotifiesInTheOrderOfAdding) {
    std::vector<std::string> calls;
    BasicChannelNotifier basic([&](ChannelId) { calls.push_back("basic"); });
    ChangedChannelNotifier changed([&](ChannelId) { calls.push_back("changed"); });
    MultiChannelObserver observers;
    observers.add(basic);
    observers.add(changed);
    observers.notify(ChannelId{0});
    observers.notify(ChannelId{2});
    EXPECT_THAT(calls, ElementsAre("basic", "changed", "changed"));
}

TEST(MultiChannelObserver, FailingObserverStopsTheOthers) {
    std::vector<std::string> calls;
    BasicChannelNotifier failing([](ChannelId) { throw std::runtime_error("failed"); });
    ChangedChannelNotifier changed([&](ChannelId) { calls.push_back("changed"); });
    MultiChannelObserver observers;
    observers.add(failing);
    observers.add(changed);
    EXPECT_THROW(observers.notify(ChannelId{0}), std::runtime_error);
    EXPECT_TRUE(calls.empty());
}

}  // namespace
}  // namespace cardlayer::transmission
