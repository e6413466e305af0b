#include "observer_list.hpp"

#include <gtest/gtest.h>

#include <thread>

namespace cardservice::impl::pcsc {
namespace {

TEST(ObserverList, InitialValueIsDeliveredOnTheRegisteringThreadBeforeAddReturns) {
    ObserverList list("state");
    std::vector<std::int64_t> seen;
    std::thread::id caller;
    list.add(
        "state", ObserveInitial | ObserveNew,
        [&](ObservedValue const& value) {
            seen.push_back(std::get<std::int64_t>(value));
            caller = std::this_thread::get_id();
        },
        std::int64_t{StateEmpty});
    EXPECT_EQ(seen, (std::vector<std::int64_t>{StateEmpty}));
    EXPECT_EQ(caller, std::this_thread::get_id());
    list.notify(std::int64_t{StateProbing});
    list.notify(std::int64_t{StateValidCard});
    EXPECT_EQ(seen, (std::vector<std::int64_t>{StateEmpty, StateProbing, StateValidCard}));
}

TEST(ObserverList, OtherKeyPathRegistersNothing) {
    ObserverList list("state");
    int calls = 0;
    auto const id = list.add(
        "slotNames", ObserveInitial, [&](ObservedValue const&) { ++calls; },
        std::int64_t{StateEmpty});
    list.notify(std::int64_t{StateValidCard});
    list.remove(id);
    EXPECT_EQ(calls, 0);
}

TEST(ObserverList, CallbackMayRemoveItselfAndAnotherObserversFaultStaysContained) {
    ObserverList list("state");
    ObserverList::Id self = 0;
    int selfCalls = 0;
    int otherCalls = 0;
    list.add("state", 0, [](ObservedValue const&) { throw std::runtime_error("observer fault"); },
             {});
    self = list.add("state", 0,
                    [&](ObservedValue const&) {
                        ++selfCalls;
                        list.remove(self);
                    },
                    {});
    list.add("state", 0, [&](ObservedValue const&) { ++otherCalls; }, {});
    list.notify(std::int64_t{StateEmpty});
    list.notify(std::int64_t{StateValidCard});
    EXPECT_EQ(selfCalls, 1);
    EXPECT_EQ(otherCalls, 2);
}

TEST(ObserverList, ObserverWhoseInitialCallThrowsIsNotRegistered) {
    ObserverList list("state");
    int calls = 0;
    EXPECT_THROW(list.add(
                     "state", ObserveInitial,
                     [&](ObservedValue const&) {
                         ++calls;
                         throw std::runtime_error("observer fault");
                     },
                     std::int64_t{StateEmpty}),
                 std::runtime_error);
    list.notify(std::int64_t{StateValidCard});
    EXPECT_EQ(calls, 1);
}

}  // namespace
}  // namespace cardservice::impl::pcsc
