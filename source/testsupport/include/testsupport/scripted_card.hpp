#pragma once

#include <cstddef>
#include <deque>
#include <exception>
#include <utility>

#include "iso7816/interchange/apdu_encoder.hpp"
#include "iso7816/interchange/card_io.hpp"
#include "testsupport/bytes.hpp"

namespace testsupport {

// A card for command-level tests. It expects exact command bytes, in order, and answers each with
// the reply scripted for it:
//
//     ScriptedCard card;
//     card.expect({0x00, 0x70, 0x00, 0x00, 0x01}).answer({0x01, 0x90, 0x00});
//     SelectionCommands commands(card.transmit());
//
// A command that differs from the next expectation, or comes when none is left, fails the test
// (ADD_FAILURE) and is answered 6F 00. Expectations still pending when the card is destroyed fail
// the test as well.
class ScriptedCard : public iso7816::interchange::CardIo {
public:
    class Exchange {
    public:
        // The raw reply, status word included.
        Exchange& answer(Bytes reply);
        // The card I/O throws error instead of answering (a reader or card failure).
        template <class Error>
        void fail(Error error) {
            failure_ = std::make_exception_ptr(std::move(error));
        }

    private:
        friend class ScriptedCard;
        explicit Exchange(Bytes command) : command_(std::move(command)) {}

        Bytes command_;
        Bytes reply_;
        bool answered_ = false;
        std::exception_ptr failure_;
    };

    ScriptedCard() = default;
    ~ScriptedCard() override;
    ScriptedCard(ScriptedCard const&) = delete;
    ScriptedCard& operator=(ScriptedCard const&) = delete;

    Exchange& expect(Bytes command);

    // The short-APDU encoder over this card: the ApduTransmit that command objects need.
    iso7816::interchange::ApduTransmit& transmit() { return encoder_; }

    // Expectations not yet consumed.
    std::size_t remaining() const { return script_.size(); }

    using CardIo::Transmit;
    velk::basic_allocated_string<unsigned char> Transmit(unsigned char const* data,
                                                         std::size_t length) override;

private:
    std::deque<Exchange> script_;
    iso7816::interchange::ApduEncoder encoder_{*this};
};

}  // namespace testsupport
