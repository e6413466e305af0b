#pragma once

#include <functional>
#include <string>

#include "outcome.hpp"
#include "testsupport/scripted_card.hpp"

namespace teappletlib::test {

// One row of a command group's table: what the call sends, what the card answers, and the
// result or failure that the caller sees.
template <class Commands>
struct ExchangeCase {
    char const* name;
    std::function<std::string(Commands&)> call;
    testsupport::Bytes command;
    testsupport::Bytes reply;
    std::string expected;
};

// A call whose arguments are refused before anything is built.
template <class Commands>
struct RefusalCase {
    char const* name;
    std::function<std::string(Commands&)> call;
    std::string expected;
};

template <class Impl, class Commands>
std::string exchangeOutcome(ExchangeCase<Commands> const& row) {
    testsupport::ScriptedCard card;
    card.expect(row.command).answer(row.reply);
    Impl commands(card.transmit());
    return outcomeOf([&] { return row.call(commands); });
}

// The scripted card holds no expectation, so any command sent fails the test.
template <class Impl, class Commands>
std::string refusalOutcome(RefusalCase<Commands> const& row) {
    testsupport::ScriptedCard card;
    Impl commands(card.transmit());
    return outcomeOf([&] { return row.call(commands); });
}

struct CaseName {
    template <class Info>
    std::string operator()(Info const& info) const {
        return info.param.name;
    }
};

}  // namespace teappletlib::test
