#include "velk/utf8.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Utf8Case {
    std::string utf8;
    std::wstring text;
};

class Utf8ValidTest : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8ValidTest, ConvertsBothWays) {
    EXPECT_EQ(velk::utf8ToWstring(GetParam().utf8), GetParam().text);
    EXPECT_EQ(velk::wstringToUtf8(GetParam().text), GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Utf8, Utf8ValidTest,
    ::testing::Values(Utf8Case{"", L""}, Utf8Case{"A", L"A"}, Utf8Case{"\x7F", L"\x7F"},
                      Utf8Case{"\xC2\x80", L"\x80"}, Utf8Case{"\xDF\xBF", L"\x7FF"},
                      Utf8Case{"\xE0\xA0\x80", L"\x800"}, Utf8Case{"\xE2\x82\xAC", L"\x20AC"},
                      Utf8Case{"\xED\x9F\xBF", L"\xD7FF"}, Utf8Case{"\xEE\x80\x80", L"\xE000"},
                      Utf8Case{"\xEF\xBF\xBF", L"\xFFFF"}, Utf8Case{"\xF0\x90\x80\x80", L"\x10000"},
                      Utf8Case{"\xF4\x8F\xBF\xBF", L"\x10FFFF"},
                      Utf8Case{"a\xC3\xA9z", L"a\xE9z"}));

class Utf8InvalidTest : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8InvalidTest, SkipsIllFormedSequencesAndGoesOn) {
    EXPECT_EQ(velk::utf8ToWstring(GetParam().utf8), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Utf8, Utf8InvalidTest,
    ::testing::Values(Utf8Case{"a\x80z", L"az"},              // stray continuation byte
                      Utf8Case{"a\xC0\xAFz", L"az"},          // overlong '/'
                      Utf8Case{"a\xE0\x80\xAFz", L"az"},      // overlong three-byte form
                      Utf8Case{"a\xED\xA0\x80z", L"az"},      // encoded surrogate D800
                      Utf8Case{"a\xF4\x90\x80\x80z", L"az"},  // above 10FFFF
                      Utf8Case{"a\xF5\x80z", L"az"},          // byte that never starts one
                      Utf8Case{"a\xFFz", L"az"},
                      Utf8Case{"a\xE2\x82z", L"az"},                // cut short by an ASCII byte
                      Utf8Case{"\xE2\x82\xE2\x82\xAC", L"\x20AC"},  // cut short by a new lead
                      Utf8Case{"ab\xF0\x9F\x98", L"ab"}));          // truncated at the end

TEST(Utf8, ElementsThatAreNotScalarValuesVanish) {
    std::wstring const text = {L'A',
                               static_cast<wchar_t>(0xD800),
                               static_cast<wchar_t>(0x20AC),
                               static_cast<wchar_t>(0xDFFF),
                               static_cast<wchar_t>(0x110000),
                               static_cast<wchar_t>(-1),
                               L'z'};
    EXPECT_EQ(velk::wstringToUtf8(text), "A\xE2\x82\xACz");
}

}  // namespace
