#include "velk/library.hpp"

#include <gtest/gtest.h>

namespace {

TEST(Library, LoadsALibraryAndFindsItsFunctions) {
    void* handle = velk::LoadLibBasic("libm.so.6");
    ASSERT_NE(handle, nullptr);
    auto const cosine =
        reinterpret_cast<double (*)(double)>(velk::GetFunctionAddress(handle, "cos"));
    ASSERT_NE(cosine, nullptr);
    EXPECT_DOUBLE_EQ(cosine(0.0), 1.0);
    EXPECT_EQ(velk::GetFunctionAddress(handle, "no_such_symbol_here"), nullptr);
    velk::FreeLib(handle);
}

TEST(Library, MissingLibrariesGiveANullHandle) {
    EXPECT_EQ(velk::LoadLibBasic("/nonexistent/libnothing.so"), nullptr);
    EXPECT_EQ(velk::LoadLib("nothing"), nullptr);
    velk::FreeLib(nullptr);
}

}  // namespace
