// The ISO command layer over a card that answers from the fuzz input (see
// testsupport::fuzz::AnsweringCardIo for the framing).
#include <cstddef>
#include <cstdint>

#include "iso_commands_scenario.hpp"
#include "testsupport/fuzz/card_answers.hpp"

extern "C" int LLVMFuzzerTestOneInput(std::uint8_t const* data, std::size_t size) {
    testsupport::fuzz::AnsweringCardIo card(data, size);
    iso7816::fuzz::runIsoCommands(card);
    return 0;
}
