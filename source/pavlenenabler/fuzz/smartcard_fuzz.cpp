// The whole stack under the card manager (card object, transmission layers, applet commands,
// drivers, PKCS#15 codec) over a card that answers from the fuzz input (see
// testsupport::fuzz::AnsweringCardIo for the framing).
#include <cstddef>
#include <cstdint>

#include "smartcard_scenario.hpp"
#include "testsupport/fuzz/card_answers.hpp"

extern "C" int LLVMFuzzerTestOneInput(std::uint8_t const* data, std::size_t size) {
    testsupport::fuzz::AnsweringCardIo card(data, size);
    pavlenenabler::fuzz::runSmartcard(card);
    return 0;
}
