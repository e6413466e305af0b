#include "iso7816/interchange/cmd/impl/apdu/process_error.hpp"

#include <sstream>
#include <string>

#include "iso7816/interchange/exceptions.hpp"
#include "iso7816/interchange/status_word.hpp"
#include "velk/exceptions.hpp"

namespace iso7816::interchange::cmd::impl::apdu {

namespace {

namespace err = velk::secure_elt_err;

using Raise = void (*)(char const* message);

template <class Error>
[[noreturn]] void raise(char const* message) {
    throw Error(message);
}

struct Mapping {
    std::uint16_t sw;
    Raise raise;
    char const* message;
};

constexpr Mapping Mappings[] = {
    {0x6A80, &raise<err::WrongData>, "The specified data was incorrect"},
    {0x6A82, &raise<err::FileNotFound>, "File not found"},
    {0x6A84, &raise<err::OutOfMemory>, "Insufficient memory on token"},
    {0x6A88, &raise<err::RefDataNotFound>, "Referenced object not found"},
    {0x6982, &raise<err::SecurityCondNotSatisfied>, "Security condition not satisfied"},
    {0x6983, &raise<err::AuthMethodBlocked>, "Authentication method blocked"},
    {0x6984, &raise<err::FeatureUnsupported>, "Referenced data not supported"},
    {0x6985, &raise<err::PreconditionError>, "Some precondition was not met"},
    {0x6986, &raise<err::CommandNotAllowed>, "Command currently not allowed"},
    {0x6700, &raise<err::WrongLength>, "The request length was incorrect"},
    {0x6881, &raise<LogicalChannelsNotSupported>, "Logical channels not supported"},
};

// Lower-case hex without leading zeros: 6f00, 9000.
std::string hexWord(std::uint16_t sw) {
    std::ostringstream text;
    text << std::hex << sw;
    return text.str();
}

}  // namespace

void processError(ApduResponse::Code const& code) {
    std::uint16_t const sw = code.GetValue();
    for (Mapping const& mapping : Mappings) {
        if (mapping.sw == sw) {
            mapping.raise(mapping.message);
        }
    }
    char const* prefix = "Unexpected error: ";
    if (IsExecutionError(sw)) {
        prefix = "Execution error: ";
    } else if (IsCheckingError(sw)) {
        prefix = "Checking error: ";
    }
    throw err::PersistentStateError(prefix + hexWord(sw));
}

void processError(spec::Iso7816Response const& response) {
    if (!response.GetCode()) {
        throw err::ResponseError("Invalid response");
    }
    processError(*response.GetCode());
}

void processError(ApduResponse const& response) {
    processError(response.GetCode());
}

}  // namespace iso7816::interchange::cmd::impl::apdu
