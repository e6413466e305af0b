#pragma once

#include <gtest/gtest.h>

#include <string>

namespace teappletlib::test {

// The message of the Error that call throws. Anything else thrown reaches the test framework;
// nothing thrown fails the test.
template <class Error, class Call>
std::string thrownMessage(Call&& call) {
    try {
        call();
    } catch (Error const& e) {
        return e.what();
    }
    ADD_FAILURE() << "nothing thrown";
    return {};
}

}  // namespace teappletlib::test
