// One response APDU from the card through the ISO response parsers and the shared status-word
// mapping: the parsers only report what the codec documents, and a parsed response encodes back
// to the same bytes.
#include <cstddef>
#include <cstdint>

#include "iso7816/interchange/apdu_codec.hpp"
#include "iso7816/interchange/cmd/impl/apdu/process_error.hpp"
#include "iso7816/interchange/get_data_command.hpp"
#include "iso7816/interchange/manage_channel_command.hpp"
#include "iso7816/interchange/select_command.hpp"
#include "iso7816/interchange/status_word.hpp"
#include "testsupport/fuzz/documented_failures.hpp"
#include "testsupport/fuzz/invariant.hpp"

namespace {

using namespace iso7816::interchange;
using testsupport::fuzz::requireInvariant;
using testsupport::fuzz::tolerateDocumentedFailures;

void parseAsEveryCommand(ApduResponse const& response) {
    spec::select::aid::Response const select(response);
    spec::get_data::Response const getData(response);
    spec::manage_channel::open_any::Response const openAny(response);
    requireInvariant(getData.GetData().size() == response.GetData().size(),
                     "GET DATA keeps the data");
    requireInvariant(select.IsError() == (response.GetCode().GetValue() != 0x9000),
                     "only 9000 is success");
    requireInvariant(!openAny.IsError() || openAny.GetCode() || !select.IsError(),
                     "an error keeps its status word unless the reply was malformed");
}

void mapStatusWord(ApduResponse const& response) {
    auto const sw = response.GetCode().GetValue();
    (void)IsBadVerify(sw);
    (void)GetBadVerifyRetryCounter(sw);
    (void)IsExecutionError(sw);
    (void)IsCheckingError(sw);
    tolerateDocumentedFailures([&] { cmd::impl::apdu::processError(response); });
    tolerateDocumentedFailures(
        [&] { cmd::impl::apdu::processError(spec::manage_channel::open_any::Response(response)); });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(std::uint8_t const* data, std::size_t size) {
    velk::basic_allocated_string<unsigned char> const bytes(data, size);
    tolerateDocumentedFailures([&] {
        ApduResponse const response = StringToApduResponse(bytes);
        requireInvariant(ApduResponseToString(response) == bytes,
                         "a parsed response encodes back to its bytes");
        parseAsEveryCommand(response);
        mapStatusWord(response);
    });
    // The same bytes as a command: the card simulator and the logs read commands back.
    tolerateDocumentedFailures([&] { (void)StringToApdu(bytes); });
    return 0;
}
