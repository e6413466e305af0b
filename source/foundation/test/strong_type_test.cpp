#include "velk/strong_type.hpp"

#include <gtest/gtest.h>

#include <array>
#include <type_traits>

namespace {

struct ModelTag;
struct SerialTag;
using Model = velk::StrongType<std::array<unsigned char, 2>, ModelTag>;
using OtherModel = velk::StrongType<std::array<unsigned char, 2>, SerialTag>;

static_assert(!std::is_convertible_v<Model, OtherModel>, "tags keep equal values apart");
static_assert(!std::is_constructible_v<OtherModel, Model>, "tags keep equal values apart");
static_assert(!std::is_convertible_v<std::array<unsigned char, 2>, Model>, "wrapping is explicit");

TEST(StrongType, HoldsAndGivesAccessToItsValue) {
    Model model(std::array<unsigned char, 2>{0x01, 0xA2});
    EXPECT_EQ(model.get()[1], 0xA2);
    model.get()[0] = 0x07;
    Model const& view = model;
    EXPECT_EQ(view.get(), (std::array<unsigned char, 2>{0x07, 0xA2}));
    EXPECT_EQ(Model().get(), (std::array<unsigned char, 2>{0x00, 0x00}));
}

}  // namespace
