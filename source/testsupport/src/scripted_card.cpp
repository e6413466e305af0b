#include "testsupport/scripted_card.hpp"

#include <gtest/gtest.h>

#include <sstream>

#include "velk/string_conversions.hpp"

namespace testsupport {

namespace {

// Status word "no precise diagnosis": a plausible card answer to a command it did not expect.
Bytes const UnscriptedReply{0x6F, 0x00};

std::string hex(Bytes const& bytes) {
    std::ostringstream text;
    velk::operator<<(text, bytes);
    return text.str();
}

}  // namespace

ScriptedCard::Exchange& ScriptedCard::Exchange::answer(Bytes reply) {
    reply_ = std::move(reply);
    answered_ = true;
    return *this;
}

ScriptedCard::~ScriptedCard() {
    for (Exchange const& pending : script_) {
        ADD_FAILURE() << "Scripted card: expected command never sent: " << hex(pending.command_);
    }
}

ScriptedCard::Exchange& ScriptedCard::expect(Bytes command) {
    script_.push_back(Exchange(std::move(command)));
    return script_.back();
}

velk::basic_allocated_string<unsigned char> ScriptedCard::Transmit(unsigned char const* data,
                                                                   std::size_t length) {
    Bytes const command(data, length);
    if (script_.empty()) {
        ADD_FAILURE() << "Scripted card: unexpected command " << hex(command);
        return secure(UnscriptedReply);
    }
    Exchange const exchange = std::move(script_.front());
    script_.pop_front();
    if (command != exchange.command_) {
        ADD_FAILURE() << "Scripted card: expected command " << hex(exchange.command_)
                      << "\n                        but received " << hex(command);
        return secure(UnscriptedReply);
    }
    if (exchange.failure_) {
        std::rethrow_exception(exchange.failure_);
    }
    if (!exchange.answered_) {
        ADD_FAILURE() << "Scripted card: no answer scripted for " << hex(command);
        return secure(UnscriptedReply);
    }
    return secure(exchange.reply_);
}

}  // namespace testsupport
