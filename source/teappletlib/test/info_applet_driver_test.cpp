#include <gtest/gtest.h>

#include "simulator_bench.hpp"
#include "teappletlib/interchange/cmd/impl/apdu/aux_commands.hpp"
#include "teappletlib/interchange/cmd/impl/apdu/file_commands.hpp"
#include "teappletlib/interchange/obj/driver/impl/cmd/applet_manager_driver_cmd.hpp"
#include "teappletlib/interchange/obj/driver/impl/cmd/info_manager_driver_cmd.hpp"
#include "testsupport/scripted_card.hpp"
#include "thrown_message.hpp"
#include "velk/exceptions.hpp"

namespace teappletlib::interchange::obj::driver::impl::cmd {
namespace {

struct CardInfoBench : test::DriverBench {
    InfoManagerDriverCmd info{commands.getFileCommands()};
    AppletManagerDriverCmd applet{commands.getAuxCommands(), commands.getFileCommands()};
};

TEST(InfoManagerDriverTest, SerialNumberKeepsItsZeroBytes) {
    CardInfoBench bench;
    EXPECT_EQ(bench.info.getSerialNumber().get(),
              (std::array<unsigned char, 8>{0x00, 0x19, 0x00, 0x73, 0x52, 0x00, 0x64, 0x01}));
    EXPECT_EQ(bench.sent(), (std::vector<test::ByteVector>{{0x00, 0xCA, 0x01, 0x00, 0x08}}));
}

TEST(AppletManagerDriverTest, ModelIdFollowsTheSerialNumber) {
    CardInfoBench bench;
    bench.card.answerWith(0xCA,
                          {0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x90, 0x00});
    EXPECT_EQ(bench.applet.getModelId().get(), (std::array<unsigned char, 2>{0x08, 0x09}));
}

TEST(AppletManagerDriverTest, CapabilitiesAreTheBitsOfTheBitString) {
    CardInfoBench bench;
    EXPECT_EQ(bench.applet.getCapabilities(), Capabilities::Sha2);  // the standard card's one bit
    bench.card.answerWith(0xCA, {0x03, 0x02, 0x04, 0x80, 0x90, 0x00});
    EXPECT_EQ(bench.applet.getCapabilities(), Capabilities::buildWithBitSet(0));
}

TEST(AppletManagerDriverTest, CapabilitiesOtherThanABitStringAreRefused) {
    CardInfoBench bench;
    for (auto const& reply :
         {test::ByteVector{0x04, 0x01, 0x00, 0x90, 0x00}, test::ByteVector{0x90, 0x00},
          test::ByteVector{0x03, 0x05, 0x04, 0x80, 0x90, 0x00}}) {
        bench.card.answerWith(0xCA, reply);
        EXPECT_EQ(test::thrownMessage<velk::secure_elt_err::ResponseError>(
                      [&] { bench.applet.getCapabilities(); }),
                  "Returned card capabilities is not a bit string");
    }
}

// The simulated card has no administration commands.
TEST(AppletManagerDriverTest, AdministrationSendsOneCommandEach) {
    testsupport::ScriptedCard card;
    interchange::cmd::impl::apdu::AuxCommands aux(card.transmit());
    interchange::cmd::impl::apdu::FileCommands files(card.transmit());
    AppletManagerDriverCmd applet(aux, files);
    card.expect({0x80, 0xEE, 0x0F, 0x00}).answer({0x90, 0x00});
    applet.setLifecycle(Lifecycle{0x0F});
    card.expect({0x80, 0xAE, 0x00, 0x00, 0x0D, 0x48, 0x03, 0x31, 0x32, 0x33, 0x34, 0x00, 0x00, 0x00,
                 0x00, 0x01, 0x02, 0x03})
        .answer({0x90, 0x00});
    applet.initialiseApplet({1, 2, 3}, {4, 8}, 3, testsupport::secure({0x31, 0x32, 0x33, 0x34}));
}

}  // namespace
}  // namespace teappletlib::interchange::obj::driver::impl::cmd
