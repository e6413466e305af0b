// The applet's command groups, and with them the file information of SELECT, over a card that
// answers from the fuzz input (see testsupport::fuzz::AnsweringCardIo for the framing).
#include <cstddef>
#include <cstdint>

#include "applet_commands_scenario.hpp"
#include "testsupport/fuzz/card_answers.hpp"

extern "C" int LLVMFuzzerTestOneInput(std::uint8_t const* data, std::size_t size) {
    testsupport::fuzz::AnsweringCardIo card(data, size);
    teappletlib::fuzz::runAppletCommands(card);
    return 0;
}
