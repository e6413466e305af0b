#include "reader_state.hpp"

#include <gtest/gtest.h>

#include <ostream>

#include "cardservice/card_service.hpp"

namespace cardservice::impl::pcsc {
namespace {

constexpr DWORD counter(unsigned events) {
    return static_cast<DWORD>(events) << 16;
}

struct StateCase {
    DWORD eventState;
    std::optional<std::int64_t> slotState;
};

void PrintTo(StateCase const& c, std::ostream* os) {
    *os << "event state 0x" << std::hex << c.eventState;
}

class ReaderStateOf : public ::testing::TestWithParam<StateCase> {};

TEST_P(ReaderStateOf, MapsTheDaemonsFlagsToSlotStates) {
    std::optional<ReaderState> const state = readerStateOf(GetParam().eventState);
    ASSERT_EQ(state.has_value(), GetParam().slotState.has_value());
    if (state) {
        EXPECT_EQ(state->slotState, *GetParam().slotState);
        EXPECT_EQ(state->eventCounter, GetParam().eventState >> 16);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Flags, ReaderStateOf,
    ::testing::Values(StateCase{SCARD_STATE_EMPTY, StateEmpty},
                      StateCase{SCARD_STATE_PRESENT | counter(3), StateValidCard},
                      StateCase{SCARD_STATE_PRESENT | SCARD_STATE_INUSE | counter(9),
                                StateValidCard},
                      StateCase{SCARD_STATE_PRESENT | SCARD_STATE_MUTE, StateMuteCard},
                      StateCase{SCARD_STATE_UNKNOWN, std::nullopt},
                      StateCase{SCARD_STATE_UNAVAILABLE, std::nullopt},
                      StateCase{SCARD_STATE_IGNORE | SCARD_STATE_EMPTY, std::nullopt},
                      StateCase{SCARD_STATE_UNAWARE, std::nullopt}));

struct ChangeCase {
    char const* name;
    ReaderState previous;
    ReaderState now;
    std::vector<std::int64_t> reported;
};

void PrintTo(ChangeCase const& c, std::ostream* os) {
    *os << c.name;
}

class StateChanges : public ::testing::TestWithParam<ChangeCase> {};

TEST_P(StateChanges, ReportsWhatHappenedBetweenTwoLooks) {
    EXPECT_EQ(stateChanges(GetParam().previous, GetParam().now), GetParam().reported);
}

INSTANTIATE_TEST_SUITE_P(
    Looks, StateChanges,
    ::testing::Values(
        ChangeCase{"Unchanged", {StateValidCard, 4}, {StateValidCard, 4}, {}},
        ChangeCase{"StillEmpty", {StateEmpty, 4}, {StateEmpty, 4}, {}},
        ChangeCase{
            "Insertion", {StateEmpty, 4}, {StateValidCard, 5}, {StateProbing, StateValidCard}},
        ChangeCase{"Removal", {StateValidCard, 5}, {StateEmpty, 6}, {StateEmpty}},
        ChangeCase{
            "Reset", {StateValidCard, 5}, {StateValidCard, 6}, {StateProbing, StateValidCard}},
        ChangeCase{"SwappedBetweenLooks",
                   {StateValidCard, 5},
                   {StateValidCard, 7},
                   {StateEmpty, StateProbing, StateValidCard}},
        ChangeCase{
            "TurnsMute", {StateValidCard, 5}, {StateMuteCard, 5}, {StateProbing, StateMuteCard}},
        ChangeCase{"MuteCardPulled", {StateMuteCard, 5}, {StateEmpty, 6}, {StateEmpty}},
        ChangeCase{"CounterWraps",
                   {StateValidCard, 0xFFFF},
                   {StateValidCard, 0},
                   {StateProbing, StateValidCard}},
        ChangeCase{"ReaderBackAfterMissing",
                   {StateMissing, 0},
                   {StateValidCard, 0},
                   {StateProbing, StateValidCard}}),
    [](::testing::TestParamInfo<ChangeCase> const& info) { return info.param.name; });

}  // namespace
}  // namespace cardservice::impl::pcsc
