#include <openssl/engine.h>

#include "engine_fixture.hpp"

namespace engine::test {
namespace {

// The openssl tool passes SET_USER_INTERFACE to every engine it is given with -engine and gives
// up on the engine when that fails; hosts pass the others from their configuration.
TEST_F(EngineTest, DeclaredCommandsWithoutEffectSucceedAndUnknownOnesFail) {
    initEngine();
    for (char const* name : {"SET_USER_INTERFACE", "SET_CALLBACK_DATA"}) {
        EXPECT_EQ(ENGINE_ctrl_cmd(engine_, name, 0, nullptr, nullptr, 1), 1) << name;
    }
    for (char const* name : {"VERBOSE", "QUIET", "FORCE_LOGIN"}) {
        EXPECT_EQ(ENGINE_ctrl_cmd_string(engine_, name, nullptr, 0), 1) << name;
    }
    for (char const* name : {"SO_PATH", "MODULE_PATH", "INIT_ARGS"}) {
        EXPECT_EQ(ENGINE_ctrl_cmd_string(engine_, name, "ignored", 0), 1) << name;
    }
    EXPECT_EQ(ENGINE_ctrl(engine_, 299, 0, nullptr, nullptr), 0);
}

}  // namespace
}  // namespace engine::test
