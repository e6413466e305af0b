#include "virtual_card_options.hpp"

#include <map>
#include <stdexcept>

namespace testsupport::virtualcard {
namespace {

cardsim::CardType parseType(std::string const& name) {
    static std::map<std::string, cardsim::CardType> const types{
        {"gen2", cardsim::CardType::Gen2},       {"gen3", cardsim::CardType::Gen3},
        {"gen4", cardsim::CardType::Gen4},       {"pavlen1", cardsim::CardType::PavlenSmartcard1},
        {"foreign", cardsim::CardType::Foreign},
    };
    auto const found = types.find(name);
    if (found == types.end()) {
        throw std::invalid_argument("unknown card type: " + name + "\n" + usage());
    }
    return found->second;
}

std::uint16_t parsePort(std::string const& text) {
    std::size_t used = 0;
    unsigned long const port = std::stoul(text, &used);
    if (used != text.size() || port == 0 || port > 65535) {
        throw std::invalid_argument("bad port: " + text + "\n" + usage());
    }
    return static_cast<std::uint16_t>(port);
}

}  // namespace

std::string usage() {
    return "usage: virtualcard [--type gen2|gen3|gen4|pavlen1|foreign] [--pin PIN] "
           "[--log FILE] [--host ADDRESS] [--port PORT]";
}

VirtualCardOptions parseOptions(std::vector<std::string> const& arguments) {
    VirtualCardOptions options;
    for (std::size_t i = 0; i < arguments.size(); i += 2) {
        std::string const& name = arguments[i];
        if (i + 1 >= arguments.size()) {
            throw std::invalid_argument("missing value for " + name + "\n" + usage());
        }
        std::string const& value = arguments[i + 1];
        if (name == "--type") {
            options.type = parseType(value);
        } else if (name == "--pin") {
            options.pin = velk::basic_allocated_string<char>(value.data(), value.size());
        } else if (name == "--log") {
            options.logPath = value;
        } else if (name == "--host") {
            options.host = value;
        } else if (name == "--port") {
            options.port = parsePort(value);
        } else {
            throw std::invalid_argument("unknown option: " + name + "\n" + usage());
        }
    }
    return options;
}

}  // namespace testsupport::virtualcard
