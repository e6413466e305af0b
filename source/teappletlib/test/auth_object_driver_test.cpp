#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "simulator_bench.hpp"
#include "teappletlib/interchange/obj/driver/impl/cmd/object_driver_cmd.hpp"
#include "teappletlib/interchange/obj/object_provider.hpp"
#include "thrown_message.hpp"
#include "velk/exceptions.hpp"

namespace teappletlib::interchange::obj {
namespace {

using namespace iso7816::interchange::literals;
using driver::impl::cmd::ObjectDriverCmd;
using Pin = velk::basic_allocated_string<char>;
using test::ByteVector;

// The standard card's PIN object is 3, with PIN 1234 and three tries.
class AuthObjectDriverTest : public ::testing::Test {
protected:
    test::DriverBench bench;
    ObjectDriverCmd objects{bench.commands, bench.cache};
    ObjectProvider provider{objects};
};

TEST_F(AuthObjectDriverTest, HandingOutObjectsSendsNothing) {
    auto const unknown = provider.getAuthObject(AuthObjectId{7});
    auto const slot = provider.getRsaKeySlot(KeyId{1});
    auto const file = provider.getFile({0x4404_fid});
    EXPECT_EQ(unknown->getId(), AuthObjectId{7});
    EXPECT_EQ(slot->getId(), KeyId{1});
    EXPECT_EQ(file->getPath(), AbsoluteFid{0x4404_fid});
    EXPECT_TRUE(bench.sent().empty());
}

TEST_F(AuthObjectDriverTest, PinIsCheckedByTheCard) {
    auto const pin = provider.getAuthObject(AuthObjectId{3});
    EXPECT_EQ(pin->authenticatePin(Pin("1234")), (PinVerifyResult{true, 0}));
    EXPECT_EQ(pin->getAuthenticationState(), (PinVerifyResult{true, 0}));
    EXPECT_EQ(pin->authenticatePin(Pin("9999")), (PinVerifyResult{false, 2}));
    EXPECT_EQ(pin->getAuthenticationState(), (PinVerifyResult{false, 2}));
    EXPECT_EQ(pin->getRetryCounter().remaining, 2);
    EXPECT_TRUE(pin->deauthenticate());
    EXPECT_TRUE(pin->deauthenticateAllChannels());
}

TEST_F(AuthObjectDriverTest, UnknownObjectDoesNotExist) {
    EXPECT_FALSE(provider.getAuthObject(AuthObjectId{7})->exists());
    EXPECT_EQ(bench.sent(), (std::vector<ByteVector>{{0x80, 0x34, 0x00, 0x07, 0x03}}));
    EXPECT_TRUE(provider.getAuthObject(AuthObjectId{3})->exists());
}

TEST_F(AuthObjectDriverTest, UnknownObjectIsReportedByTheOperationsThatNeedIt) {
    auto const unknown = provider.getAuthObject(AuthObjectId{7});
    for (auto const& call : std::vector<std::function<void()>>{
             [&] { unknown->getRetryCounter(); }, [&] { unknown->deauthenticate(); },
             [&] { unknown->deauthenticateAllChannels(); }}) {
        EXPECT_EQ(test::thrownMessage<velk::secure_elt_err::RefDataNotFound>(call),
                  "Authentication object not found");
    }
}

}  // namespace
}  // namespace teappletlib::interchange::obj
