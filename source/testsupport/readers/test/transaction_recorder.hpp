#pragma once

#include <string>
#include <vector>

#include "sclib/smartcard.hpp"

namespace testsupport::readers::test {

// MANAGE CHANNEL open: answered with the new channel number and 90 00.
inline constexpr unsigned char OpenChannel[] = {0x00, 0x70, 0x00, 0x00, 0x01};

// A transaction body that opens a channel and notes the was-reset flag and the reply.
struct TransactionRecorder {
    std::vector<bool> resets;
    std::vector<std::basic_string<unsigned char>> replies;

    sclib::Smartcard::TransactionBody body() {
        return [this](cardlayer::smartcard::SmartcardProvider& provider, bool wasReset) {
            resets.push_back(wasReset);
            auto const reply = provider.getCardIo().Transmit(OpenChannel, sizeof OpenChannel);
            replies.emplace_back(reply.begin(), reply.end());
        };
    }
};

// The what() of the Error that f throws, or a text saying that it threw nothing.
template <class Error, class F>
std::string thrownText(F&& f) {
    try {
        f();
    } catch (Error const& e) {
        return e.what();
    }
    return "nothing thrown";
}

}  // namespace testsupport::readers::test
