#include "iso7816/interchange/cmd/impl/apdu/process_error.hpp"

#include <gtest/gtest.h>

#include <string>
#include <typeindex>
#include <typeinfo>

#include "iso7816/interchange/exceptions.hpp"
#include "velk/exceptions.hpp"

namespace iso7816::interchange::cmd::impl::apdu {
namespace {

namespace err = velk::secure_elt_err;

struct Row {
    std::uint16_t sw;
    std::type_index error;
    std::string message;
};

Row const Rows[] = {
    {0x6A80, typeid(err::WrongData), "The specified data was incorrect"},
    {0x6A82, typeid(err::FileNotFound), "File not found"},
    {0x6A84, typeid(err::OutOfMemory), "Insufficient memory on token"},
    {0x6A88, typeid(err::RefDataNotFound), "Referenced object not found"},
    {0x6982, typeid(err::SecurityCondNotSatisfied), "Security condition not satisfied"},
    {0x6983, typeid(err::AuthMethodBlocked), "Authentication method blocked"},
    {0x6984, typeid(err::FeatureUnsupported), "Referenced data not supported"},
    {0x6985, typeid(err::PreconditionError), "Some precondition was not met"},
    {0x6986, typeid(err::CommandNotAllowed), "Command currently not allowed"},
    {0x6700, typeid(err::WrongLength), "The request length was incorrect"},
    {0x6881, typeid(LogicalChannelsNotSupported), "Logical channels not supported"},
    {0x6400, typeid(err::PersistentStateError), "Execution error: 6400"},
    {0x6581, typeid(err::PersistentStateError), "Execution error: 6581"},
    {0x66FF, typeid(err::PersistentStateError), "Execution error: 66ff"},
    {0x6701, typeid(err::PersistentStateError), "Checking error: 6701"},
    {0x6882, typeid(err::PersistentStateError), "Checking error: 6882"},
    {0x6A81, typeid(err::PersistentStateError), "Checking error: 6a81"},
    {0x6A86, typeid(err::PersistentStateError), "Checking error: 6a86"},
    {0x6F00, typeid(err::PersistentStateError), "Checking error: 6f00"},
    {0x6FFF, typeid(err::PersistentStateError), "Checking error: 6fff"},
    {0x9000, typeid(err::PersistentStateError), "Unexpected error: 9000"},
    {0x6100, typeid(err::PersistentStateError), "Unexpected error: 6100"},
    {0x6282, typeid(err::PersistentStateError), "Unexpected error: 6282"},
    {0x63C1, typeid(err::PersistentStateError), "Unexpected error: 63c1"},
    {0x7000, typeid(err::PersistentStateError), "Unexpected error: 7000"},
    {0x9F10, typeid(err::PersistentStateError), "Unexpected error: 9f10"},
    {0x0001, typeid(err::PersistentStateError), "Unexpected error: 1"},
};

template <class Call>
void expectRaises(Call&& call, std::type_index error, std::string const& message) {
    try {
        call();
        ADD_FAILURE() << "returned";
    } catch (std::exception const& e) {
        EXPECT_EQ(std::type_index(typeid(e)), error) << typeid(e).name();
        EXPECT_EQ(e.what(), message);
    }
}

TEST(ProcessError, MapsEveryStatusWordToItsClassAndMessage) {
    for (Row const& row : Rows) {
        SCOPED_TRACE(row.message);
        ApduResponse::Code const code{row.sw};
        expectRaises([&] { processError(code); }, row.error, row.message);
        expectRaises([&] { processError(ApduResponse(code, ApduResponse::Data{0x01})); }, row.error,
                     row.message);
    }
}

TEST(ProcessError, ParsedResponseRaisesForItsStatusWord) {
    spec::Iso7816Response const response(ApduResponse(ApduResponse::Code{0x6985}, {}));
    expectRaises([&] { processError(response); }, typeid(err::PreconditionError),
                 "Some precondition was not met");
}

TEST(ProcessError, ParsedResponseWithoutStatusWordIsInvalid) {
    spec::Iso7816Response const success(ApduResponse(ApduResponse::Code{0x9000}, {}));
    expectRaises([&] { processError(success); }, typeid(err::ResponseError), "Invalid response");
}

}  // namespace
}  // namespace iso7816::interchange::cmd::impl::apdu
